#include "upload/index_documents/index_document_writer.h"

#include <gtest/gtest.h>

#include "attachment_rows_fixture.h"
#include "common/errors.h"

namespace athup::upload::testing {
namespace {

using athup::testing::readFile;
using index::testing::kBan;
using index::testing::kOtherBan;
using index::testing::kPeriod;

class IndexDocumentWriterTest : public AttachmentRowsFixture {
 protected:
  fs::path out = dir / "out";
  void SetUp() override {
    AttachmentRowsFixture::SetUp();
    fs::create_directories(out);
  }
  std::vector<fs::path> write(const std::string& serial = {}, const std::string& date = {}) {
    return writeIndexDocuments(orbWin, kBan, out, kPeriod, serial, date);
  }
};

TEST_F(IndexDocumentWriterTest, WritesTheExactBytesOfAMediaDocument) {
  // Files only in 08: one document, named after the taxpayer and the code, UTF-8 without a
  // byte-order mark, CR LF after every line, serial and date empty.
  addIndexRow("ORBDB_ATH_T08", kBan, "T08000001");
  attach(kBan, "T08000001", "T08000001_0", "scan");
  addIndexRow("ORBDB_ATH_T08", kOtherBan, "T08000001");
  attach(kOtherBan, "T08000001", "other", "scan");

  EXPECT_EQ(write(), std::vector<fs::path>{out / "12345678_08.xml"});
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
  EXPECT_EQ(readFile(out / "12345678_08.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<附件索引>\r\n"
            "<資料年月>11302</資料年月>\r\n"
            "<資料類別>08</資料類別>\r\n"
            "<統一編號>12345678</統一編號>\r\n"
            "<明細索引>\r\n"
            "<細項內容>\r\n"
            "<所屬年度>113</所屬年度>\r\n"
            "<所屬月份>02</所屬月份>\r\n"
            "<縣市別>A</縣市別>\r\n"
            "<統一編號>12345678</統一編號>\r\n"
            "<稅籍編號>123456789</稅籍編號>\r\n"
            "<開立年月日>1130201</開立年月日>\r\n"
            "<發票號碼或其他憑證>AB12345678</發票號碼或其他憑證>\r\n"
            "<內容摘要名稱>車床</內容摘要名稱>\r\n"
            "<內容摘要數量>2</內容摘要數量>\r\n"
            "<內容摘要金額>50000</內容摘要金額>\r\n"
            "<內容摘要稅額>2500</內容摘要稅額>\r\n"
            "<用途>生產</用途>\r\n"
            "<影像檔案名稱>T08000001_0.pdf</影像檔案名稱>\r\n"
            "</細項內容>\r\n"
            "</明細索引>\r\n"
            "<明細筆數>1</明細筆數>\r\n"
            "<上傳序號></上傳序號>\r\n"
            "<上傳日期></上傳日期>\r\n"
            "</附件索引>\r\n");
}

TEST_F(IndexDocumentWriterTest, RepeatsTheLineForEveryDocumentAndCountsDocuments) {
  addIndexRow("ORBDB_ATH_T02", kBan, "T02000001", {{"ZTX_S_AMT", 123456.0}});
  attach(kBan, "T02000001", "first", "a");
  attach(kBan, "T02000001", "second", "b");
  addIndexRow("ORBDB_ATH_T02", kBan, "T02000002");  // no document: no entry

  EXPECT_EQ(write("A0001", "1130310"), std::vector<fs::path>{out / "12345678_02.xml"});
  const std::string text = readFile(out / "12345678_02.xml");
  const std::string line =
      "<細項內容>\r\n<銷售人統一編號>12345678</銷售人統一編號>\r\n<銷售人縣市別>A</"
      "銷售人縣市別>\r\n"
      "<銷售人稅籍編號>123456789</銷售人稅籍編號>\r\n<資料所屬年月>11302</資料所屬年月>\r\n"
      "<開立發票年月>11301</開立發票年月>\r\n<發票字軌號碼>AB12345678</發票字軌號碼>\r\n"
      "<買受人統一編號>22222222</買受人統一編號>\r\n<外銷方式>1</外銷方式>\r\n<通關方式>2</"
      "通關方式>\r\n"
      "<報單類別或證明文件名稱>D5</報單類別或證明文件名稱>\r\n"
      "<報單號碼或證明文件號碼>AA1</報單號碼或證明文件號碼>\r\n<金額>123456</金額>\r\n"
      "<輸出或結匯日期>1130215</輸出或結匯日期>\r\n";
  EXPECT_NE(text.find("<明細索引>\r\n" + line +
                      "<影像檔案名稱>first.pdf</影像檔案名稱>\r\n</細項內容>\r\n" + line +
                      "<影像檔案名稱>second.pdf</影像檔案名稱>\r\n</細項內容>\r\n</明細索引>\r\n"
                      "<明細筆數>2</明細筆數>\r\n<上傳序號>A0001</上傳序號>\r\n"
                      "<上傳日期>1130310</上傳日期>\r\n</附件索引>\r\n"),
            std::string::npos)
      << text;
}

TEST_F(IndexDocumentWriterTest, EscapesOnlyTheFreeTextFields) {
  addIndexRow(
      "ORBDB_ATH_T02", kBan, "T02000001",
      {{"BILL_OF_SIGHT_TP", "<>"}, {"BILL_OF_SIGHT_NO", "O'B\"1"}, {"BUYER_BAN", "1<2&3'45"}});
  attach(kBan, "T02000001", "a", "a");
  addIndexRow("ORBDB_ATH_T08", kBan, "T08000001",
              {{"FA_REF_NM", "  A&B<C  "}, {"UES_NM", " 生產>用 "}, {"INVO_TRACK_NO", "X&Y"}});
  attach(kBan, "T08000001", "b", "b");

  EXPECT_EQ(write().size(), 2U);
  const std::string t02 = readFile(out / "12345678_02.xml");
  const std::string t08 = readFile(out / "12345678_08.xml");
  for (const auto& [text, expected] : std::vector<std::pair<std::string, std::string>>{
           {t02, "<報單類別或證明文件名稱>&lt;&gt;</報單類別或證明文件名稱>"},
           {t02, "<報單號碼或證明文件號碼>O&apos;B&quot;1</報單號碼或證明文件號碼>"},
           {t02, "<買受人統一編號>1<2&3'45</買受人統一編號>"},
           {t08, "<內容摘要名稱>A&amp;B&lt;C</內容摘要名稱>"},
           {t08, "<用途>生產&gt;用</用途>"},
           {t08, "<發票號碼或其他憑證>X&Y</發票號碼或其他憑證>"}}) {
    EXPECT_NE(text.find(expected + "\r\n"), std::string::npos) << expected;
  }
}

TEST_F(IndexDocumentWriterTest, TakesTheDeclarationDateFromTheReturnUpload) {
  addIndexRow("ORBDB_ATH_TET", kBan, "TET000001", {{"DATA_YYMM_X5", "11304"}});
  attach(kBan, "TET000001", "decl", "d");
  // Without a return upload the category has no rows.
  EXPECT_TRUE(write().empty());

  recordDeclarationDate(kBan, "1130515");
  recordDeclarationDate(kBan, "1130601");  // a second row must not repeat the entries
  EXPECT_EQ(write(), std::vector<fs::path>{out / "12345678_14.xml"});
  const std::string text = readFile(out / "12345678_14.xml");
  EXPECT_NE(text.find("<細項內容>\r\n<所屬年度>113</所屬年度>\r\n<所屬月份>04</所屬月份>\r\n"
                      "<縣市別>A</縣市別>\r\n<統一編號>12345678</統一編號>\r\n"
                      "<稅籍編號>123456789</稅籍編號>\r\n<細稅別>1</細稅別>\r\n"
                      "<總繳代號>0</總繳代號>\r\n<申報年月日>1130515</申報年月日>\r\n"
                      "<影像檔案名稱>decl.pdf</影像檔案名稱>\r\n</細項內容>\r\n</明細索引>\r\n"
                      "<明細筆數>1</明細筆數>\r\n"),
            std::string::npos)
      << text;
}

TEST_F(IndexDocumentWriterTest, WritesTheCategoriesInOrderAndReplacesOldDocuments) {
  recordDeclarationDate(kBan, "1130515");
  for (const auto& [table, seq] :
       {std::pair{"ORBDB_ATH_TET", "TET000001"}, std::pair{"ORBDB_ATH_T08", "T08000001"},
        std::pair{"ORBDB_ATH_T02", "T02000001"}}) {
    addIndexRow(table, kBan, seq);
    attach(kBan, seq, seq, seq);
  }
  dir.write("out/12345678_02.xml", std::string(5000, 'x'));
  EXPECT_EQ(write(), (std::vector<fs::path>{out / "12345678_02.xml", out / "12345678_08.xml",
                                            out / "12345678_14.xml"}));
  EXPECT_EQ(readFile(out / "12345678_02.xml").rfind("<?xml", 0), 0U);
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 3);
}

TEST_F(IndexDocumentWriterTest, RefusesAMissingFolderBeforeWriting) {
  addIndexRow("ORBDB_ATH_T02", kBan, "T02000001");
  attach(kBan, "T02000001", "a", "a");
  try {
    (void)writeIndexDocuments(orbWin, kBan, dir / "missing", kPeriod, {}, {});
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "目的目錄不存在，請先建立!");
  }
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

}  // namespace
}  // namespace athup::upload::testing
