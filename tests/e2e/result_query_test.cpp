#include "upload/query/result_query.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/text_helpers.h"
#include "filing_request_fixture.h"
#include "store/queries/status_queries.h"

namespace athup::testing {
namespace {

namespace fs = std::filesystem;

const std::string kOtherBan = "87654321";
constexpr const char* kDone = "作業成功";
constexpr const char* kFilesMissing = "申報上傳的檔案有缺，請重新上傳．";

class ResultQueryTest : public FilingRequestTest {
 protected:
  std::optional<upload::QueryOutcome> search(const std::string& typed,
                                             upload::CertificatePort& port) {
    interaction.shown.clear();
    upload::ResultQuery query(context, orbWin, port, interaction, [this](const std::string& ban) {
      lookedUp.push_back(ban);
      return ban != "99999999";
    });
    return query.search(typed);
  }
  std::optional<upload::QueryOutcome> search(const std::string& typed = kBan) {
    return search(typed, password);
  }
  std::vector<std::string> stored(const std::string& ban) {
    return store::StatusQueries(orbWin).statusLines(ban);
  }

  FixedCertificate password{kPassword};
  std::vector<std::string> lookedUp;
};

TEST_F(ResultQueryTest, ACompleteResultIsStoredShownAndKeptAsTheReceiptFile) {
  uploadRawFiles(2, 2);
  const auto outcome = search(" " + kBan + " ");
  ASSERT_TRUE(outcome.has_value());
  EXPECT_EQ(lookedUp, std::vector<std::string>{kBan});
  EXPECT_EQ(interaction.messages(), std::vector<std::string>{kDone});
  EXPECT_TRUE(outcome->answered);
  EXPECT_EQ(outcome->header.status, "0");
  ASSERT_EQ(outcome->statusLines.size(), 2u);
  EXPECT_EQ(outcome->statusLines, stored(kBan));
  EXPECT_LT(outcome->statusLines[0], outcome->statusLines[1]);
  const upload::StatusLine line = upload::parseStatusLine(outcome->statusLines[0]);
  EXPECT_EQ(line.fileCd, "02");
  EXPECT_EQ(common::trimBlanks(line.fileName), "A01");
  EXPECT_EQ(common::trimBlanks(line.statusText), "主機作業處理完成(上傳成功)");
  EXPECT_TRUE(fs::exists(context.reportFolder / (kBan + "11305.prn")));
  EXPECT_TRUE(fs::exists(m_dir / "prog" / "QueryResult.XML"));
  EXPECT_TRUE(fs::is_empty(context.workFolder));
}

TEST_F(ResultQueryTest, MissingFilesAreReportedForStatusSixAndForUnequalCounts) {
  uploadRawFiles(2, 3);  // three announced, two arrived: status "2", counts 003 and 002
  auto outcome = search();
  ASSERT_TRUE(outcome.has_value());
  EXPECT_EQ(outcome->header.status, "2");
  EXPECT_EQ(interaction.messages(), (std::vector<std::string>{kDone, kFilesMissing}));
  EXPECT_FALSE(fs::exists(context.reportFolder / (kBan + "11305.prn")));

  for (const char* fault : {"status-6", "status-2-unequal"}) {
    setFault(fault);
    outcome = search();
    EXPECT_EQ(interaction.messages(), (std::vector<std::string>{kDone, kFilesMissing})) << fault;
    setFault("clear");
  }
}

TEST_F(ResultQueryTest, TheNextTaxpayerWithTheServerDownGetsNoLinesAndTheFirstKeepsItsOwn) {
  uploadRawFiles(1, 1);
  ASSERT_EQ(search()->statusLines.size(), 1u);
  const auto first = stored(kBan);
  ASSERT_TRUE(store::StatusQueries(orbWin).storeStatusLines(kOtherBan, {"ORB00102 old"}).empty());

  m_server->stop();
  const auto outcome = search(kOtherBan);
  ASSERT_TRUE(outcome.has_value());
  EXPECT_FALSE(outcome->answered);
  EXPECT_TRUE(outcome->statusLines.empty());
  EXPECT_EQ(outcome->header, upload::ResultHeader{});
  EXPECT_FALSE(interaction.messages().empty());  // the transport's own message
  EXPECT_TRUE(stored(kOtherBan).empty());
  EXPECT_EQ(stored(kBan), first);
}

TEST_F(ResultQueryTest, AListThatDoesNotDecodeLeavesTheStoredLinesAlone) {
  uploadRawFiles(1, 1);
  const auto before = search()->statusLines;
  ASSERT_EQ(before.size(), 1u);
  for (const char* fault : {"list-not-base64", "list-not-zlib"}) {
    setFault(fault);
    EXPECT_FALSE(search().has_value()) << fault;
    ASSERT_EQ(interaction.messages().size(), 1u) << fault;
    EXPECT_TRUE(interaction.messages()[0].starts_with("Decompress error")) << fault;
    EXPECT_EQ(stored(kBan), before) << fault;
    EXPECT_TRUE(fs::is_empty(context.workFolder)) << fault;
    setFault("clear");
  }
}

TEST_F(ResultQueryTest, RefusalsAndPagesShowTheirTextAndEmptyTheTaxpayersLines) {
  uploadRawFiles(1, 1);
  const struct {
    const char* fault;
    const char* value;
    std::vector<std::string> messages;
  } cases[] = {
      {"refuse", "E12:今日暫停受理", {"今日暫停受理"}},
      {"html-page", "", {"系統維護中，請稍後再試"}},
      {"refuse", "0:作業成功", {kDone}},  // "0" without a list: no lines, an empty header
  };
  for (const auto& c : cases) {
    ASSERT_EQ(search()->statusLines.size(), 1u);
    setFault(c.fault, c.value);
    const auto outcome = search();
    ASSERT_TRUE(outcome.has_value()) << c.fault;
    EXPECT_EQ(interaction.messages(), c.messages) << c.fault;
    EXPECT_TRUE(stored(kBan).empty()) << c.fault;
    EXPECT_EQ(outcome->header, upload::ResultHeader{}) << c.fault;
    setFault("clear");
  }
}

TEST_F(ResultQueryTest, NoBanOrAnUnknownTaxpayerStopsBeforeTheServer) {
  EXPECT_FALSE(search("   ").has_value());
  EXPECT_EQ(interaction.messages(), std::vector<std::string>{"請輸入統一編號"});
  EXPECT_FALSE(search("99999999").has_value());
  EXPECT_TRUE(interaction.messages().empty());
  EXPECT_EQ(password.chosen, 0);
}

TEST_F(ResultQueryTest, TheCardCertificateQueriesToo) {
  uploadRawFiles(1, 1);
  answerCertificate("2", "123456");
  const auto outcome = search(kBan, certificate);
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->answered) << ::testing::PrintToString(interaction.messages());
  EXPECT_EQ(outcome->statusLines.size(), 1u);
}

TEST_F(ResultQueryTest, MissingFilingDataEndsWithTheQuerysOwnLine) {
  orbWin.execute("UPDATE ORBDB1_LAST_UPLOAD SET T02_CRC = ''");
  addDocument("T02");
  const auto outcome = search();
  ASSERT_TRUE(outcome.has_value());
  ASSERT_EQ(interaction.messages().size(), 1u);
  EXPECT_TRUE(interaction.messages()[0].ends_with("\r請確認是否執行過營業稅程式申報上傳作業．"));
  EXPECT_TRUE(password.sealTexts.empty());
}

}  // namespace
}  // namespace athup::testing
