#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/big5.h"
#include "common/errors.h"
#include "common/text_helpers.h"
#include "security/codecs/base64.h"
#include "support/temp_dir.h"
#include "upload/query/result_query.h"
#include "upload/result/result_file_decoder.h"
#include "upload/result/result_records.h"

namespace athup::upload {
namespace {

namespace fs = std::filesystem;
using athup::testing::TempDir;

constexpr const char* kBan = "12345678";
constexpr const char* kApplyYM = "11305";
constexpr const char* kDone = "主機作業處理完成(上傳成功)";

// A header line: BAN, daily maximum, uploads counted, status, the three check flags, the counts.
std::string headerLine(const std::string& status, const std::string& flags = "YYY",
                       const std::string& counts = "003003") {
  return std::string("ORB000") + kBan + "005" + "11304" + "002" + status + "AAA" + "BBB" +
         "20240305143015" + "C" + "DDD" + flags + "E" + counts;
}

// A status line with its columns filled to their widths (UTF-8; widths are Big5 bytes).
std::string statusLine(const std::string& code, const std::string& name, const std::string& ext,
                       const std::string& compressSize, const std::string& status = kDone) {
  return "ORB001" + code + "0001" + "00" + common::padRight(name, 21, " ") + ext +
         common::padLeft("1234", 20, "0") + common::padLeft(compressSize, 20, "0") +
         "20240305143015" + "20240305143120" + "XXXXXXXX" + common::padRight(status, 50, " ");
}

// What the server sends as "list": base64 of the zlib stream of the Big5 text.
std::string listOf(const std::string& utf8Text) {
  const std::string big5 = common::utf8ToBig5(utf8Text);
  uLongf size = compressBound(big5.size());
  std::string packed(size, '\0');
  EXPECT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &size,
                     reinterpret_cast<const Bytef*>(big5.data()), big5.size()),
            Z_OK);
  packed.resize(size);
  return security::base64EncodeText(packed);
}

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

TEST(ResultRecords, HeaderFieldsAreTrimmedAndTheLastHeaderCounts) {
  const ResultHeader h = parseHeaderLine(headerLine("2", "NYn", " 5 004") + "  trailing");
  EXPECT_EQ(h.recordId, "ORB000");
  EXPECT_EQ(h.ban, kBan);
  EXPECT_EQ(h.dailyMaximum, "005");
  EXPECT_EQ(h.field18, "11304");
  EXPECT_EQ(h.uploadsCounted, "002");
  EXPECT_EQ(h.status, "2");
  EXPECT_EQ(h.field33, "20240305143015");
  EXPECT_EQ(h.serialCheck, "N");
  EXPECT_EQ(h.t02Check, "Y");
  EXPECT_EQ(h.t08Check, "n");
  EXPECT_EQ(h.field54, "E");
  EXPECT_EQ(h.firstCount, "5");
  EXPECT_EQ(h.secondCount, "004");

  const ResultHeader shortLine = parseHeaderLine("ORB000" + std::string(kBan) + "00");
  EXPECT_EQ(shortLine.dailyMaximum, "00");
  EXPECT_EQ(shortLine.status, "");
  EXPECT_EQ(shortLine.secondCount, "");

  for (const auto& [line, header, status] : std::vector<std::tuple<std::string, bool, bool>>{
           {"ORB000x", true, false},
           {"ORB001x", false, true},
           {"ORB 000", false, false},  // blanks are dropped from the first six only
           {"ORB00", false, false},
           {"orb001", false, false},
       }) {
    EXPECT_EQ(isHeaderLine(line), header) << line;
    EXPECT_EQ(isStatusLine(line), status) << line;
  }
}

TEST(ResultRecords, StatusLineColumnsKeepBlanksAndChineseTexts) {
  const StatusLine s = parseStatusLine(statusLine("08", "發票影本", "pdf", "56789"));
  EXPECT_EQ(s.recordId, "ORB001");
  EXPECT_EQ(s.fileCd, "08");
  EXPECT_EQ(s.field9, "0001");
  EXPECT_EQ(s.fileName, "發票影本" + std::string(13, ' '));
  EXPECT_EQ(s.fileSubName, "pdf");
  EXPECT_EQ(s.fileSize, common::padLeft("1234", 20, "0"));
  EXPECT_EQ(s.compressSize, common::padLeft("56789", 20, "0"));
  EXPECT_EQ(s.receivedAt, "20240305143015");
  EXPECT_EQ(s.secondStamp, "20240305143120");
  EXPECT_EQ(s.field107, "XXXXXXXX");
  EXPECT_EQ(common::trimBlanks(s.statusText), kDone);
  EXPECT_EQ(common::big5Width(s.statusText), 50u);

  // A double-byte character on the name's last column stays whole with the name.
  const StatusLine cut = parseStatusLine(
      "ORB001020001"
      "00" +
      std::string(20, 'a') + "票" + "pdf");
  EXPECT_EQ(cut.fileName, std::string(20, 'a') + "票");
  EXPECT_EQ(cut.fileSubName, "pdf");  // the next field starts after the character
}

TEST(ResultRecords, FormatStampCutsByPosition) {
  const std::pair<const char*, const char*> cases[] = {
      {"20240305143015", "2024/03/05 14:30:15"},
      {"20241231000000", "2024/12/31 00:00:00"},
      {"202403", "2024/03/ ::"},
      {"", "// ::"},
  };
  for (const auto& [stamp, shown] : cases) EXPECT_EQ(formatStamp(stamp), shown) << stamp;
}

TEST(ResultRecords, MissingFilesFollowTheStatusAndTheCounts) {
  const struct {
    const char* status;
    const char* first;
    const char* second;
    bool missing;
  } cases[] = {
      {"6", "003", "003", true},  {"2", "005", "004", true}, {"2", "005", "005", false},
      {"2", "5", "005", false},   {"2", "x", "", false},     {"2", "x", "1", true},
      {"0", "005", "004", false}, {"", "", "", false},
  };
  for (const auto& c : cases) {
    ResultHeader header;
    header.status = c.status;
    header.firstCount = c.first;
    header.secondCount = c.second;
    EXPECT_EQ(filesMissing(header), c.missing) << c.status << " " << c.first << " " << c.second;
  }
}

class ResultFileTest : public ::testing::Test {
 protected:
  fs::path receipt() const { return receiptFilePath(places.reportFolder, kBan, kApplyYM); }
  TempDir m_dir;
  ResultFilePlaces places{m_dir / "TMP", m_dir / "ATHRpt"};
};

TEST_F(ResultFileTest, CompleteStatusWritesTheReceiptFileAndItDecodesToTheSameLines) {
  const std::string text = "ignored line\r\n" + headerLine("1") + "\r\n" +
                           statusLine("02", "A01", "jpg", "100") + "\n" + headerLine("0") + "\r" +
                           statusLine("14", kBan + std::string("_14"), "xml", "200") + "\r\n";
  const DecodedResult decoded = decodeResultList(listOf(text), kBan, kApplyYM, places);

  EXPECT_EQ(decoded.header.status, "0");  // the last header line counts
  ASSERT_EQ(decoded.statusLines.size(), 2u);
  EXPECT_EQ(decoded.statusLines[0], statusLine("02", "A01", "jpg", "100"));
  EXPECT_EQ(decoded.statusLines[1].substr(6, 2), "14");
  ASSERT_TRUE(decoded.receiptFile.has_value());
  EXPECT_EQ(*decoded.receiptFile, receipt());
  EXPECT_EQ(receipt(), places.reportFolder / (std::string(kBan) + kApplyYM + ".prn"));
  EXPECT_TRUE(namesIn(places.workFolder).empty());
  EXPECT_EQ(namesIn(places.reportFolder), std::vector<std::string>{receipt().filename()});
  const std::string stored = athup::testing::readFile(receipt());
  EXPECT_EQ(stored.find("ORB001"), std::string::npos);  // encrypted, not plain

  const DecodedResult again = decodeReceiptFile(receipt(), kBan, kApplyYM);
  EXPECT_EQ(again.header, decoded.header);
  EXPECT_EQ(again.statusLines, decoded.statusLines);
  EXPECT_FALSE(again.receiptFile.has_value());
  EXPECT_EQ(athup::testing::readFile(receipt()), stored);
  EXPECT_EQ(namesIn(places.reportFolder), std::vector<std::string>{receipt().filename()});
}

TEST_F(ResultFileTest, OtherStatusesKeepNoReceiptAndNoListMeansNoLines) {
  for (const char* status : {"1", "2", "6", " "}) {
    const DecodedResult decoded =
        decodeResultList(listOf(headerLine(status) + "\r\n" + statusLine("02", "A01", "jpg", "1")),
                         kBan, kApplyYM, places);
    EXPECT_EQ(decoded.header.status, common::trimBlanks(status));
    EXPECT_EQ(decoded.statusLines.size(), 1u);
    EXPECT_FALSE(decoded.receiptFile.has_value());
  }
  EXPECT_FALSE(fs::exists(receipt()));

  const DecodedResult empty = decodeResultList("  ", kBan, kApplyYM, places);
  EXPECT_EQ(empty.header, ResultHeader{});
  EXPECT_TRUE(empty.statusLines.empty());
  EXPECT_TRUE(namesIn(places.workFolder).empty());
}

TEST_F(ResultFileTest, ListsThatAreNotBase64OfZlibRaiseAndLeaveNoWorkingFile) {
  const std::string good = listOf(headerLine("0"));
  const std::string cases[] = {
      "這不是 base64 !!",
      security::base64EncodeText(common::utf8ToBig5(headerLine("0"))),  // not compressed
      good.substr(0, good.size() / 2),                                  // cut short
  };
  for (const auto& list : cases) {
    EXPECT_THROW((void)decodeResultList(list, kBan, kApplyYM, places), Error) << list;
    EXPECT_TRUE(namesIn(places.workFolder).empty()) << list;
    EXPECT_FALSE(fs::exists(receipt())) << list;
  }
}

TEST_F(ResultFileTest, DecodingsAtTheSameTimeKeepToTheirOwnWorkingFiles) {
  // Agents query many taxpayers at once, all through the one TMP folder.
  constexpr int kThreads = 4;
  constexpr int kRounds = 40;
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const std::string name = "T" + std::to_string(t);
      // Lists of different lengths, so a file read while another decoding writes it shows.
      std::string text = headerLine("2");
      for (int i = 0; i <= t * 50; ++i) text += "\r\n" + statusLine("02", name, "pdf", "1");
      const std::string list = listOf(text);
      for (int round = 0; round < kRounds; ++round) {
        try {
          const DecodedResult decoded = decodeResultList(list, kBan, kApplyYM, places);
          if (decoded.statusLines.size() != static_cast<std::size_t>(t * 50 + 1) ||
              parseStatusLine(decoded.statusLines.back()).fileName.substr(0, 2) != name)
            ++wrong;
        } catch (const Error&) {
          ++wrong;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_TRUE(namesIn(places.workFolder).empty());
}

TEST_F(ResultFileTest, AReceiptFileUnderAnotherPasswordRaisesAndLeavesNothingBehind) {
  (void)decodeResultList(listOf(headerLine("0")), kBan, kApplyYM, places);
  try {
    (void)decodeReceiptFile(receipt(), "87654321", kApplyYM);
    FAIL() << "decrypted under the wrong BAN";
  } catch (const Error& error) {
    EXPECT_STRNE(error.what(), "");
  }
  EXPECT_EQ(namesIn(places.reportFolder), std::vector<std::string>{receipt().filename()});
  EXPECT_THROW((void)decodeReceiptFile(places.reportFolder / "missing.prn", kBan, kApplyYM), Error);
}

}  // namespace
}  // namespace athup::upload
