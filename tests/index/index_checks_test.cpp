#include "index/flows/index_checks.h"

#include <string>

#include "common/file_helpers.h"
#include "index/flows/assignment_flow.h"
#include "index_fixture.h"
#include "store/queries/index_queries.h"

namespace athup::index::testing {
namespace {

class IndexChecksTest : public IndexFixture {
 protected:
  void indexRow(const std::string& ban, const std::string& type, const std::string& seq,
                const std::string& crc) {
    orbWin.execute("INSERT INTO ORBDB_ATH_" + type + " (BAN, FILE_SEQ, " + type +
                       "_CRC) VALUES (:BAN, :SEQ, :CRC)",
                   {{"BAN", ban}, {"SEQ", seq}, {"CRC", crc}});
  }
  void fileRow(const std::string& ban, const std::string& type, const std::string& seq) {
    orbWin.execute(
        "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, SUB_SEQ, FILE_TP, FILE_SIZE) VALUES (:BAN, "
        ":SEQ, '0', :TP, 1)",
        {{"BAN", ban}, {"SEQ", seq}, {"TP", type}});
  }

  IndexChecks checks{ui, orbWin, orbCode, kPeriod};
};

TEST_F(IndexChecksTest, IndexAgainstLastUpload) {
  const std::string prefix = "統編[12345678";
  struct Case {
    const char* index[3];  // index checksums of T02, T08, TET ("" none)
    const char* upload[3];
    bool passes;
    const char* message;
  };
  const Case cases[] = {
      {{"", "", ""}, {"", "", ""}, true, nullptr},
      {{"A1", "B1", "C1"}, {"A1", "B1", "C1"}, true, nullptr},
      {{"A1", "", ""},
       {"", "", ""},
       false,
       "]--營業稅未申報上傳零稅率資料(BAN.T02)，但本次附件上傳有相關附件檔案，請取消設定後重新執行"
       "上傳!"},
      {{"A1", "", ""},
       {"A2", "", ""},
       false,
       "]--附件資料登錄資料的來源檔(BAN.T02)非前次上傳申報的檔案，請重新設定!"},
      {{"", "B1", ""},
       {"", "", ""},
       false,
       "]--營業稅未申報上傳固定資產退稅清單的資料(BAN.T08)，但本次附件上傳有相關附件檔案，請取消"
       "設定後重新執行上傳!"},
      {{"", "", ""},
       {"", "B1", ""},
       false,
       "]--營業稅有申報上傳固定資產退稅清單的資料，但本次附件上傳無相關附件檔案，請設定後重新執行"
       "上傳!"},
      {{"", "B1", ""},
       {"", "B2", ""},
       false,
       "]--附件資料登錄資料的來源檔(BAN.T08)非前次上傳申報的檔案，請重新設定!"},
      {{"", "", "C1"},
       {"", "", "C2"},
       false,
       "]--附件資料登錄資料的來源檔(BAN.TET)非前次上傳申報的檔案，請重新設定!"},
      {{"", "", "C1"}, {"", "", ""}, true, nullptr},
      {{"", "", ""}, {"", "", "C1"}, true, nullptr},
  };
  const char* types[] = {"T02", "T08", "TET"};
  for (const auto& c : cases) {
    for (const char* table :
         {"ORBDB_ATH_T02", "ORBDB_ATH_T08", "ORBDB_ATH_TET", "ORBDB1_LAST_UPLOAD"}) {
      orbWin.execute(std::string("DELETE FROM ") + table);
    }
    for (int i = 0; i < 3; ++i) {
      if (*c.index[i]) indexRow(kBan, types[i], std::string(types[i]) + "000001", c.index[i]);
    }
    recordUpload(kBan, c.upload[0], c.upload[1], c.upload[2]);
    ui.shown.clear();
    const std::string label = std::string(c.index[0]) + "/" + c.index[1] + "/" + c.index[2] +
                              " vs " + c.upload[0] + "/" + c.upload[1] + "/" + c.upload[2];
    EXPECT_EQ(checks.checkIndexAgainstLastUpload(kBan), c.passes) << label;
    if (c.message) {
      ASSERT_EQ(ui.messages().size(), 1U) << label;
      EXPECT_EQ(ui.messages().front(), prefix + c.message) << label;
    } else {
      EXPECT_TRUE(ui.shown.empty()) << label;
    }
  }

  // Rows imported from two different files.
  indexRow(kBan, "T02", "T02000001", "A1");
  indexRow(kBan, "T02", "T02000002", "A2");
  ui.shown.clear();
  EXPECT_FALSE(checks.checkIndexAgainstLastUpload(kBan));
  EXPECT_EQ(ui.messages().front(), prefix + "]--附件資料登錄有誤，請重新設定!");
}

TEST_F(IndexChecksTest, ZeroRateConfirmation) {
  const auto cleared = writeFiling("12345678.T02", t02File({t02Line("0"), t02Line("2")}));
  recordUpload(kBan, crcOf(cleared), "", "");
  const std::string folder = common::utf8FromPath(filingFolder) + "/";

  EXPECT_FALSE(checks.checkIndexAgainstLastUpload(kBan));  // Cancel: no further message
  ASSERT_EQ(ui.shown.size(), 1U);
  EXPECT_EQ(ui.shown.front().text.rfind("統編[12345678]--營業稅有申報上傳零稅率銷售額資料", 0), 0U);

  ui.shown.clear();
  ui.answers = {Answer::Yes};  // no folder chosen
  EXPECT_FALSE(checks.checkIndexAgainstLastUpload(kBan));
  EXPECT_TRUE(ui.messages().empty());

  ui.answers = {Answer::Yes};
  ui.choices = {common::utf8FromPath(dir.path()) + "/"};
  EXPECT_FALSE(checks.checkIndexAgainstLastUpload(kBan));
  EXPECT_EQ(ui.messages().back(), "統編[12345678]--選擇的路徑下無相關申報檔");

  ui.answers = {Answer::Yes};
  ui.choices = {folder};
  EXPECT_TRUE(checks.checkIndexAgainstLastUpload(kBan));  // all lines cleared through customs

  const auto uncleared = writeFiling("12345678.T02", t02File({t02Line("1")}));
  ui.answers = {Answer::Yes};
  ui.choices = {folder};
  EXPECT_FALSE(checks.checkIndexAgainstLastUpload(kBan));
  EXPECT_EQ(ui.messages().back(), "統編[12345678]--選擇的檔案非申報上傳的BAN.T02檔，請重新選擇");

  orbWin.execute("UPDATE ORBDB1_LAST_UPLOAD SET T02_CRC = :C", {{"C", crcOf(uncleared)}});
  ui.answers = {Answer::Yes};
  ui.choices = {folder};
  EXPECT_FALSE(checks.checkIndexAgainstLastUpload(kBan));
  EXPECT_EQ(ui.messages().back(), "統編[12345678]--請回到步驟1 設定附件清單索引後，重新執行上傳");
}

TEST_F(IndexChecksTest, AllRowsHaveFiles) {
  EXPECT_TRUE(checks.allRowsHaveFiles(kBan));
  EXPECT_TRUE(checks.allRowsHaveFiles(""));
  indexRow(kBan, "TET", "TET000001", "C");  // return-header rows need no file
  EXPECT_TRUE(checks.allRowsHaveFiles(kBan));
  indexRow(kBan, "T02", "T02000001", "A");
  indexRow(kOtherBan, "T08", "T08000001", "B");
  EXPECT_FALSE(checks.allRowsHaveFiles(kBan));
  EXPECT_FALSE(checks.allRowsHaveFiles(kOtherBan));
  EXPECT_FALSE(checks.allRowsHaveFiles(""));
  fileRow(kBan, "T02", "T02000001");
  EXPECT_TRUE(checks.allRowsHaveFiles(kBan));
  EXPECT_FALSE(checks.allRowsHaveFiles(kOtherBan));
}

TEST_F(IndexChecksTest, AttachedFilesEditedOrMoved) {
  indexRow(kBan, "T02", "T02000001", "A");
  indexRow(kBan, "T08", "T08000001", "B");
  AssignmentFlow t02(ui, orbWin, kPeriod, kBan, "T02");
  AssignmentFlow t08(ui, orbWin, kPeriod, kBan, "T08");
  const auto a = document("a.pdf", 100);
  const auto b = document("b.pdf", 100);
  ASSERT_TRUE(t02.save("T02000001", {common::utf8FromPath(a)}));
  ASSERT_TRUE(t08.save("T08000001", {common::utf8FromPath(b)}));
  EXPECT_EQ(checks.checkAttachedFiles(kBan), "");
  recordUpload(kBan, "A", "B", "");
  EXPECT_TRUE(checks.runAll(kBan));

  dir.write("docs/b.pdf", std::string(100, 'y'));
  EXPECT_EQ(
      checks.checkAttachedFiles(kBan),
      "附件清單中，固定資產的檔案：" + common::utf8FromPath(b) + " 內容已被更改，\n請重新設定．");
  fs::remove(a);  // reported first: T02 comes before T08
  EXPECT_EQ(
      checks.checkAttachedFiles(kBan),
      "附件清單中，零稅率銷售額的檔案：" + common::utf8FromPath(a) + " 不存在，\n請重新設定．");
  EXPECT_FALSE(checks.runAll(kBan));
  EXPECT_EQ(ui.messages().back(), checks.checkAttachedFiles(kBan));
}

TEST_F(IndexChecksTest, CountsAndLookups) {
  store::IndexQueries index(orbWin);
  EXPECT_EQ(index.categoryCodes(kBan), "");
  fileRow(kBan, "TET", "TET000001");
  fileRow(kBan, "T02", "T02000001");
  fileRow(kBan, "T02", "T02000002");
  EXPECT_EQ(index.fileRowCount(kBan), 3);
  EXPECT_EQ(index.categoryCodes(kBan), "02,14");
  EXPECT_TRUE(index.categoryHasFiles(kBan, "T02"));
  EXPECT_FALSE(index.categoryHasFiles(kBan, "T08"));
  EXPECT_TRUE(index.categoryHasFiles(kBan, "X"));
  orbWin.execute("INSERT INTO ORBDB1_ATH_STATUS (BAN, FILE_CD, STATUS_DATA) VALUES (:B, '02', 'x')",
                 {{"B", kBan}});
  EXPECT_EQ(index.statusLineCount(kBan, "02"), 1);
  EXPECT_EQ(index.statusLineCount(kBan, "08"), 0);
}

}  // namespace
}  // namespace athup::index::testing
