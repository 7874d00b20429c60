#include "receipts/receipt_batch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/big5.h"
#include "common/errors.h"
#include "security/cipher/crypt_file.h"
#include "status_line_maker.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "support/fixed_clock.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::receipts {
namespace {

namespace fs = std::filesystem;
using athup::testing::statusLine;
using athup::testing::TempDir;

constexpr const char* kApplyYM = "11306";

// Records each receipt and the status rows stored while it was made.
class RecordingOutput final : public ReceiptOutput {
 public:
  explicit RecordingOutput(store::StatusQueries& status) : m_status(status) {}
  void output(const std::vector<ReceiptPage>& pages) override {
    std::string ban;
    for (const PlacedText& text : pages.front().texts) {
      if (text.text.size() == 8 && text.text.find_first_not_of("0123456789") == std::string::npos)
        ban = text.text;
    }
    printed.push_back(ban);
    storedWhilePrinting.push_back(m_status.statusLines(ban).size());
    if (failOn == ban) throw Error("印表機錯誤");
  }
  std::vector<std::string> printed;
  std::vector<std::size_t> storedWhilePrinting;
  std::string failOn;

 private:
  store::StatusQueries& m_status;
};

class ReceiptBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "CODE");
    fs::create_directories(dir / "11305");
    fs::create_directories(report);
    orbCode.open("ORBCODE", dir / "CODE");
    orbWin.open("ORBWIN", dir / "11305");
    for (const auto table : store::codeFolderTables())
      store::createFilingProgramTable(orbCode, table);
    store::createFilingProgramTable(orbWin, store::kLastUploadTable);
    ASSERT_TRUE(store::preparePeriodTables(orbWin, {dir / "orb_Ath.log", clock}).empty());
  }

  // An encrypted receipt file of the taxpayer with `lines` status lines.
  void writeReceipt(const std::string& ban, int lines) {
    std::string text = "ORB000" + ban + "005     0030\r\n";
    for (int i = 0; i < lines; ++i) {
      text += statusLine(i % 2 == 0 ? "02" : "14", "F" + std::to_string(i), "pdf", "1234",
                         "20240520143015") +
              "\r\n";
    }
    const fs::path plain = dir.write("plain.txt", common::utf8ToBig5(text));
    security::cryptFileWithPassword(plain, report / (ban + kApplyYM + ".prn"),
                                    security::CryptMode::Encrypt, ban);
  }

  ReceiptBatch batch() {
    return ReceiptBatch({status, taxpayers, lastUploads}, {report, kApplyYM}, clock, ui);
  }

  void expectCleanedUp(const std::vector<std::string>& bans) {
    for (const std::string& ban : bans) EXPECT_TRUE(status.statusLines(ban).empty()) << ban;
    for (const auto& entry : fs::directory_iterator(report))
      EXPECT_NE(entry.path().extension(), ".dprn") << entry.path();
  }

  TempDir dir;
  fs::path report = dir / "ATHRpt";
  store::Database orbCode;
  store::Database orbWin;
  athup::testing::FixedClock clock{2024, 6, 3};
  athup::testing::ScriptedInteraction ui;
  store::StatusQueries status{orbWin};
  store::TaxpayerQueries taxpayers{orbCode};
  store::LastUploadQueries lastUploads{orbWin};
};

TEST_F(ReceiptBatchTest, PrintsEachTaxpayerInOrderAndLeavesNothingBehind) {
  writeReceipt("12345675", 3);
  writeReceipt("23456789", 2);
  status.insertStatusLine("23456789", statusLine("08", "OLD", "pdf", "1", "20240101000000"));
  RecordingOutput output(status);
  EXPECT_TRUE(batch().run({"23456789", "99999999", "12345675"}, output));
  EXPECT_EQ(output.printed, (std::vector<std::string>{"23456789", "12345675"}));
  // The file's lines replace what was stored before.
  EXPECT_EQ(output.storedWhilePrinting, (std::vector<std::size_t>{2, 3}));
  EXPECT_TRUE(ui.messages().empty());
  expectCleanedUp({"12345675", "23456789", "99999999"});
  EXPECT_TRUE(fs::exists(report / "1234567511306.prn"));  // the receipt file itself stays
}

TEST_F(ReceiptBatchTest, AFileThatDoesNotDecryptStopsTheBatch) {
  writeReceipt("12345675", 1);
  dir.write("ATHRpt/2345678911306.prn", "not a receipt file at all");
  writeReceipt("34567890", 1);
  RecordingOutput output(status);
  EXPECT_FALSE(batch().run({"12345675", "23456789", "34567890"}, output));
  EXPECT_EQ(output.printed, (std::vector<std::string>{"12345675"}));
  const auto messages = ui.messages();
  ASSERT_EQ(messages.size(), 2U);  // the cipher's message, then which taxpayer
  EXPECT_FALSE(messages[0].empty());
  EXPECT_EQ(messages[1], "統編：23456789 收執聯檔案解密失敗!");
  expectCleanedUp({"12345675", "23456789", "34567890"});
}

TEST_F(ReceiptBatchTest, AFailingOutputStillCleansUp) {
  writeReceipt("12345675", 2);
  RecordingOutput output(status);
  output.failOn = "12345675";
  EXPECT_THROW((void)batch().run({"12345675"}, output), Error);
  expectCleanedUp({"12345675"});
}

TEST_F(ReceiptBatchTest, ContentComesFromTheStoredLinesMasterAndLastUpload) {
  orbCode.execute(
      "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9) VALUES ('12345675', '大同商行', "
      "'123456789')");
  orbWin.execute("INSERT INTO ORBDB1_LAST_UPLOAD (BAN, HSN_CD) VALUES ('12345675', 'B')");
  status.insertStatusLine("12345675", statusLine("14", "B", "pdf", "5", "20240520143015"));
  status.insertStatusLine("12345675", statusLine("02", "A", "pdf", "5", "20240520143015"));
  upload::ResultHeader header;
  header.ban = "12345675";
  const ReceiptContent content = batch().contentFor("12345675", header);
  EXPECT_EQ(content.banName, "大同商行");
  EXPECT_EQ(content.losn, "123456789");
  EXPECT_EQ(content.officeName, "中區國稅局");  // period 11306, printed in 2024
  EXPECT_EQ(content.periodText, "113年06月");
  ASSERT_EQ(content.categories.size(), 2U);
  EXPECT_EQ(content.categories[0].label, "02：零稅率非經海關");  // ordered by the full line
  EXPECT_EQ(content.details[0].fileName, "A.pdf");
}

}  // namespace
}  // namespace athup::receipts
