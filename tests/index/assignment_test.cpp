#include <string>
#include <vector>

#include "common/file_helpers.h"
#include "index/flows/assignment_flow.h"
#include "index/flows/index_import_flow.h"
#include "index/flows/upload_limit.h"
#include "index_fixture.h"
#include "store/queries/attachment_queries.h"
#include "store/queries/index_queries.h"

namespace athup::index::testing {
namespace {

class AssignmentTest : public IndexFixture {
 protected:
  void SetUp() override {
    IndexFixture::SetUp();
    const auto file = writeFiling("12345678.T02", t02File({t02Line("1"), t02Line("1")}));
    recordUpload(kBan, crcOf(file), "", "");
    IndexImportFlow import(ui, orbWin, orbCode);
    ASSERT_TRUE(import.importCategory({kBan, "T02", common::utf8FromPath(filingFolder), kPeriod}));
  }

  std::vector<std::string> docs(
      const std::vector<std::pair<std::string, std::size_t>>& namesAndSizes) {
    std::vector<std::string> paths;
    for (const auto& [name, size] : namesAndSizes)
      paths.push_back(common::utf8FromPath(document(name, size)));
    return paths;
  }

  AssignmentFlow flow{ui, orbWin, kPeriod, kBan, "T02"};
};

TEST_F(AssignmentTest, UploadFileName) {
  EXPECT_EQ(AssignmentFlow::uploadFileName("11302", "12345678", "T02", "T02000007", 0),
            "113021234567802000700");
  EXPECT_EQ(AssignmentFlow::uploadFileName("11302", "12345678", "TET", "TET000012", 11),
            "113021234567814001211");
}

TEST_F(AssignmentTest, SaveReplacesTheRowsFiles) {
  const auto three = docs({{"a.pdf", 10}, {"b.PDF", 20}, {"c.txt", 30}});
  ASSERT_TRUE(flow.save("T02000002", three));
  auto rows = store::IndexQueries(orbWin).rowFiles(kBan, "T02000002");
  ASSERT_EQ(rows.recordCount(), 3U);
  rows.first();
  for (int i = 0; i < 3; ++i, rows.next()) {
    EXPECT_EQ(rows.text("SUB_SEQ"), std::to_string(i));
    EXPECT_EQ(rows.text("FILE_NM"), "1130212345678020002" + std::string("0") + std::to_string(i));
    EXPECT_EQ(rows.text("FILE_SUB_NM"), "pdf");  // the first file's extension for all
    EXPECT_EQ(rows.text("FILE_PATH_NM"), three[i]);
    EXPECT_EQ(rows.number("FILE_SIZE"), 10 * (i + 1));
    EXPECT_EQ(rows.text("FILE_TP"), "T02");
    EXPECT_EQ(rows.text("FILE_CRC"), crcOf(common::pathFromUtf8(three[i])));
  }
  ASSERT_TRUE(flow.save("T02000002", docs({{"d.pdf", 1}, {"e.pdf", 2}})));
  rows = store::IndexQueries(orbWin).rowFiles(kBan, "T02000002");
  ASSERT_EQ(rows.recordCount(), 2U);
  rows.first();
  EXPECT_EQ(rows.text("SUB_SEQ"), "0");
  rows.next();
  EXPECT_EQ(rows.text("SUB_SEQ"), "1");
  EXPECT_EQ(rows.text("FILE_NM"), "113021234567802000201");

  EXPECT_FALSE(flow.save("T02000002", {}));  // nothing chosen: nothing changes
  EXPECT_EQ(store::IndexQueries(orbWin).rowFileCount(kBan, "T02000002"), 2);
}

TEST_F(AssignmentTest, FailuresLeaveThePreviousFiles) {
  ASSERT_TRUE(flow.save("T02000001", docs({{"a.pdf", 10}})));
  // A chosen document that has gone before the save.
  EXPECT_FALSE(flow.save("T02000001", {common::utf8FromPath(dir / "docs/gone.pdf")}));
  // The write fails after the delete.
  orbWin.failEngineCall(4);  // size lookup, BEGIN, delete, then the insert fails
  EXPECT_FALSE(flow.save("T02000001", docs({{"b.pdf", 10}, {"c.pdf", 10}})));
  EXPECT_EQ(ui.messages().back(), "Injected fault: the engine call failed");
  auto rows = store::IndexQueries(orbWin).rowFiles(kBan, "T02000001");
  ASSERT_EQ(rows.recordCount(), 1U);
  rows.first();
  EXPECT_NE(rows.text("FILE_PATH_NM").find("a.pdf"), std::string::npos);

  ui.answers = {Answer::Yes};
  orbWin.failEngineCall(2);  // BEGIN, then the delete fails
  EXPECT_FALSE(flow.clear("T02000001"));
  EXPECT_EQ(store::IndexQueries(orbWin).rowFileCount(kBan, "T02000001"), 1);
  EXPECT_FALSE(flow.clear("T02000001"));  // declined
  EXPECT_EQ(ui.shown.back().text, "確認清除附件檔案的路徑與檔名？");
  ui.answers = {Answer::Yes};
  EXPECT_TRUE(flow.clear("T02000001"));
  EXPECT_EQ(store::IndexQueries(orbWin).rowFileCount(kBan, "T02000001"), 0);
}

TEST_F(AssignmentTest, UploadLimitWarnsOncePerRun) {
  const std::string warning =
      "提醒您，設定的附件檔案超過申報上傳總限定值(10MB)\n如果您採媒體申報，請按[Yes] "
      "本訊息在離開程式前將不再出現．\n若按[No] 則停止存檔，重新設定檔案．";
  // Another row already holds 1,000,000 bytes; the limit counts them.
  ASSERT_TRUE(flow.save("T02000001", docs({{"other.pdf", 1'000'000}})));
  ASSERT_TRUE(flow.save("T02000002", docs({{"exact.pdf", 9'485'760}})));
  EXPECT_TRUE(ui.shown.empty());
  // The row's own old files are replaced, so they do not count; one byte more asks.
  EXPECT_FALSE(flow.save("T02000002", docs({{"over.pdf", 9'485'761}})));  // declined
  ASSERT_EQ(ui.shown.size(), 1U) << ::testing::PrintToString(ui.messages());
  EXPECT_EQ(ui.shown.back().text, warning);
  EXPECT_EQ(store::IndexQueries(orbWin).rowFileCount(kBan, "T02000002"), 1);
  ui.answers = {Answer::Yes};
  EXPECT_TRUE(flow.save("T02000002", docs({{"over.pdf", 9'485'761}})));
  EXPECT_TRUE(UploadLimit::acknowledged());
  ASSERT_EQ(ui.shown.size(), 2U);
  // Accepted once: no second warning, for any taxpayer or category.
  AssignmentFlow other(ui, orbWin, kPeriod, kOtherBan, "T08");
  EXPECT_TRUE(other.save("T08000001", docs({{"big.pdf", 11'000'000}})));
  EXPECT_EQ(ui.shown.size(), 2U);
}

TEST_F(AssignmentTest, LeavingWithoutFilesDropsTheCategory) {
  ASSERT_TRUE(flow.mayLeave() == false);  // rows without files: declined question
  EXPECT_EQ(ui.shown.back().text, "尚有細項未設定附件檔案，確定離開？");
  EXPECT_TRUE(flow.dropCategoryWithoutFiles());
  EXPECT_EQ(store::IndexQueries(orbWin).indexRowCount(kBan, "T02"), 0);
}

TEST_F(AssignmentTest, LeavingWithSomeFilesKeepsTheIndex) {
  ASSERT_TRUE(flow.save("T02000001", docs({{"a.pdf", 10}})));
  ui.answers = {Answer::Yes};
  EXPECT_TRUE(flow.mayLeave());
  EXPECT_FALSE(flow.dropCategoryWithoutFiles());
  EXPECT_EQ(store::IndexQueries(orbWin).indexRowCount(kBan, "T02"), 2);
  ASSERT_TRUE(flow.save("T02000002", docs({{"b.pdf", 10}})));
  ui.shown.clear();
  EXPECT_TRUE(flow.mayLeave());
  EXPECT_TRUE(ui.shown.empty());  // every row has a file: no question
}

}  // namespace
}  // namespace athup::index::testing
