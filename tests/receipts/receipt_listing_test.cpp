#include "receipts/receipt_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "receipts/receipt_file_list.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/engine/database.h"
#include "support/temp_dir.h"

namespace athup::receipts {
namespace {

namespace fs = std::filesystem;
using athup::testing::TempDir;

constexpr const char* kApplyYM = "11306";

std::vector<std::string> bansOf(const std::vector<ReceiptFile>& files) {
  std::vector<std::string> bans;
  for (const ReceiptFile& file : files) {
    bans.push_back(file.ban);
  }
  return bans;
}

TEST(ReceiptFileNames, SeventeenCharactersOfThePeriod) {
  const struct {
    const char* name;
    bool counts;
  } cases[] = {
      {"1234567811306.prn", true},   {"1234567811306.PRN", true},
      {"1234567811306.Prn", true},   {"1234567811306.prnx", false},  // 18 characters
      {"1234567811305.prn", false},                                  // another period
      {"1234567A11306.prn", false},  {" 234567811306.prn", false},
      {"1234567811306.dprn", false}, {"1234567811306_prn", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isReceiptFileName(c.name, kApplyYM), c.counts) << c.name;
  }
}

TEST(ReceiptFileNames, MasksMatchWithoutRegardToCase) {
  const struct {
    const char* name;
    const char* mask;
    bool matches;
  } cases[] = {
      {"1234567811306.PRN", "*.prn", true},
      {"1234567811306.prn", "*.*", true},
      {"1234567811306.prn", "12*", true},
      {"1234567811306.prn", "????????11306.prn", true},
      {"1234567811306.prn", "*.dprn", false},
      {"1234567811306.prn", "*.pr", false},
      {"a.prn.prn", "*.prn", true},
      {"", "*", true},
      {"abc", "a?", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(matchesFileMask(c.name, c.mask), c.matches) << c.name << ' ' << c.mask;
  }
}

class ReceiptListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "CODE");
    fs::create_directories(report);
    athDb.open("ATH_DB", dir / "CODE");
    store::createFilingProgramTable(athDb, store::kApplyerTable);
  }

  void addTaxpayer(const std::string& ban, const std::string& losn, const std::string& name) {
    athDb.execute(
        "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9) VALUES (:BAN, :NM, :LOSN)",
        {{"BAN", ban}, {"NM", name}, {"LOSN", losn}});
  }

  // A receipt file written `minutesAgo` before now.
  void addFile(const std::string& name, int minutesAgo = 0) {
    const fs::path file = dir.write("ATHRpt/" + name, "x");
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
  }

  TempDir dir;
  fs::path report = dir / "ATHRpt";
  store::Database athDb;
};

TEST_F(ReceiptListingTest, OnlyThePeriodsReceiptFilesAreFoundEachTaxpayerOnce) {
  addFile("1234567511306.PRN");
  addFile("2345678911306.prn");
  addFile("2345678911306.prnx");
  addFile("3456789011305.prn");
  addFile("3456789A11306.prn");
  addFile(".4567890111306.prn");
  const auto found = findReceiptFiles(report, {"*.prn", "*.PRN", "2*"}, kApplyYM);
  std::vector<std::string> bans = bansOf(found);
  std::sort(bans.begin(), bans.end());
  EXPECT_EQ(bans, (std::vector<std::string>{"12345675", "23456789"}));
  for (const ReceiptFile& file : found) {
    ASSERT_EQ(file.fileTime.size(), 19U) << file.fileTime;  // yyyy-mm-dd hh:nn:ss
    EXPECT_EQ(file.fileTime[4], '-');
    EXPECT_EQ(file.fileTime[13], ':');
  }
  EXPECT_TRUE(findReceiptFiles(dir / "missing", {"*.prn"}, kApplyYM).empty());
}

TEST_F(ReceiptListingTest, LinesOfKnownAndUnknownTaxpayers) {
  addTaxpayer("12345675", "123456789", "大同商行");
  const std::vector<ReceiptFile> files = {{"12345675", "2024-06-01 10:00:00"},
                                          {"23456789", "2024-06-02 11:00:00"}};
  const auto lines = receiptDisplayLines(files, athDb, ReceiptSortKey::Ban, kAscending);
  // The name padded with full-width blanks to 52 bytes: 4 characters and 22 blanks.
  std::string blanks;
  for (int i = 0; i < 22; ++i) {
    blanks += "　";
  }
  EXPECT_EQ(lines,
            (std::vector<std::string>{
                "12345675       | 123456789    | 大同商行" + blanks + " | 2024-06-01 10:00:00",
                "23456789 |              |" + std::string(29, ' ') + "|"}));
  const auto byTime = receiptDisplayLines(files, athDb, ReceiptSortKey::UploadTime, kAscending);
  EXPECT_EQ(byTime[1],
            "12345675       | 123456789    | 大同商行" + blanks + "| 2024-06-01 10:00:00");
  for (const std::string& line : byTime) {
    EXPECT_EQ(line.substr(0, 8), line == byTime[1] ? "12345675" : "23456789");
  }
}

TEST_F(ReceiptListingTest, LongNamesAreCutAndTwoMasterRowsGiveTwoLines) {
  // 30 full-width characters: cut to 25 (50 bytes), then one blank pads to 52.
  std::string longName;
  for (int i = 0; i < 30; ++i) {
    longName += "長";
  }
  addTaxpayer("12345675", "123456789", longName);
  addTaxpayer("12345675", "123456789", longName);  // identical rows read once
  addTaxpayer("12345675", "987654321", "別名");
  const auto lines = receiptDisplayLines({{"12345675", "2024-06-01 10:00:00"}}, athDb,
                                         ReceiptSortKey::Losn, kDescending);
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_NE(lines[0].find("987654321"), std::string::npos);  // the larger LOSN first
  std::string cut;
  for (int i = 0; i < 25; ++i) {
    cut += "長";
  }
  EXPECT_NE(lines[1].find("| " + cut + "　 | "), std::string::npos) << lines[1];
}

TEST_F(ReceiptListingTest, NewestFirstWhenSortedByTimeDescending) {
  for (const char* ban : {"11111111", "22222222", "33333333"}) {
    addTaxpayer(ban, "000000000", "商行");
  }
  const std::vector<ReceiptFile> files = {{"11111111", "2024-06-02 08:00:00"},
                                          {"22222222", "2024-06-03 08:00:00"},
                                          {"33333333", "2024-06-01 08:00:00"}};
  auto bansIn = [](const std::vector<std::string>& lines) {
    std::vector<std::string> bans;
    for (const std::string& line : lines) {
      bans.push_back(line.substr(0, 8));
    }
    return bans;
  };
  EXPECT_EQ(bansIn(receiptDisplayLines(files, athDb, ReceiptSortKey::UploadTime, kDescending)),
            (std::vector<std::string>{"22222222", "11111111", "33333333"}));
  EXPECT_EQ(bansIn(receiptDisplayLines(files, athDb, ReceiptSortKey::UploadTime, kAscending)),
            (std::vector<std::string>{"33333333", "11111111", "22222222"}));
}

TEST_F(ReceiptListingTest, MoreThanAThousandTaxpayersAreAllLookedUp) {
  std::vector<ReceiptFile> files;
  for (int i = 0; i < 2500; ++i) {
    const std::string ban = std::to_string(10000000 + i);
    files.push_back({ban, "2024-06-01 10:00:00"});
    if (i == 0 || i == 999 || i == 1000 || i == 2499) {  // each statement's edges
      addTaxpayer(ban, "111111111", "商行");
    }
  }
  const auto lines = receiptDisplayLines(files, athDb, ReceiptSortKey::Ban, kAscending);
  ASSERT_EQ(lines.size(), 2500U);
  std::size_t known = 0;
  for (const std::string& line : lines) {
    known += line.find("111111111") != std::string::npos ? 1 : 0;
  }
  EXPECT_EQ(known, 4U);
}

TEST(ReceiptListHeading, ArrowAtTheSortedColumn) {
  const std::string name = "|    營利事業暨扣繳單位名稱" + std::string(23, ' ') + "|";
  EXPECT_EQ(receiptListHeading(ReceiptSortKey::Ban, kAscending),
            "▲統一編號|  稅籍編號" + name + "     上傳時間");
  EXPECT_EQ(receiptListHeading(ReceiptSortKey::Losn, kDescending),
            "  統一編號|▼稅籍編號" + name + "     上傳時間");
  EXPECT_EQ(receiptListHeading(ReceiptSortKey::UploadTime, kDescending),
            "  統一編號|  稅籍編號" + name + "   ▼上傳時間");
}

}  // namespace
}  // namespace athup::receipts
