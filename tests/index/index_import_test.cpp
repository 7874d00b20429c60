#include <sys/stat.h>

#include <string>

#include "common/big5.h"
#include "common/file_helpers.h"
#include "demo_data/filing_records.h"
#include "index/flows/index_import_flow.h"
#include "index/import/filing_file_lookup.h"
#include "index/import/index_file_reader.h"
#include "index/import/signed_zoned.h"
#include "index_fixture.h"
#include "store/queries/index_queries.h"

namespace athup::index::testing {
namespace {

class IndexImportTest : public IndexFixture {
 protected:
  ImportRequest request(const std::string& type) {
    return {kBan, type, common::utf8FromPath(filingFolder) + "/", kPeriod};
  }

  // A T02 index of two rows, one with a document, imported from an uploaded file.
  void importBaseline() {
    const auto file = writeFiling("12345678.T02", t02File({t02Line("1"), t02Line("1")}));
    recordUpload(kBan, crcOf(file), "", "");
    IndexImportFlow flow(ui, orbWin, orbCode);
    ASSERT_TRUE(flow.importCategory(request("T02")));
    orbWin.execute(
        "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, SUB_SEQ, FILE_TP, FILE_SIZE) VALUES "
        "(:BAN, 'T02000001', '0', 'T02', 5)",
        {{"BAN", kBan}});
  }

  void expectBaselineIntact() {
    EXPECT_EQ(count("SELECT COUNT(*) FROM ORBDB_ATH_T02"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM ORBDB_ATH_FILE"), 1);
  }
};

TEST_F(IndexImportTest, T02FieldsNumberingAndCustomsFilter) {
  auto first = t02Line("1", 12345);
  first.BILL_OF_SIGHT_TP = "證";  // a double-byte character fills the whole field
  auto second = t02Line("1", 0);
  second.INVO_TRACK = "CD00000002";
  const std::string bytes = t02File({first, t02Line("0", 5), second}) +
                            demodata::formatT02Record(t02Line("1")).substr(0, 83);  // no CR LF
  const auto file = writeFiling("12345678.T02", bytes);
  recordUpload(kBan, crcOf(file), "", "");

  IndexImportFlow flow(ui, orbWin, orbCode);
  std::vector<std::int64_t> progress;
  flow.setProgress([&](std::int64_t done, std::int64_t) { progress.push_back(done); });
  ASSERT_TRUE(flow.importCategory(request("T02"))) << ::testing::PrintToString(ui.messages());
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(progress.back(), 3);  // the unterminated last line is no record

  auto rows = store::IndexQueries(orbWin).indexRows(kBan, "T02");
  ASSERT_EQ(rows.recordCount(), 2U);
  rows.first();
  const std::pair<const char*, std::string> expected[] = {{"BAN", kBan},
                                                          {"HSN_CD", "A"},
                                                          {"VAT_LOSN_X9", "123456789"},
                                                          {"DATA_YYMM_X5", kPeriod},
                                                          {"INVO_YM", "11301"},
                                                          {"INVO_TRACK", "AB12345678"},
                                                          {"BUYER_BAN", "22222222"},
                                                          {"EXPORT_MODE", "1"},
                                                          {"PCTS_MODE", "1"},
                                                          {"BILL_OF_SIGHT_TP", "證"},
                                                          {"BILL_OF_SIGHT_NO", "AA12345678901B"},
                                                          {"ZTX_S_AMT", "12345"},
                                                          {"FGN_EXCH_DATE", "1130215"},
                                                          {"FILE_SEQ", "T02000001"},
                                                          {"T02_CRC", crcOf(file)}};
  for (const auto& [column, value] : expected) {
    EXPECT_EQ(rows.text(column), value) << column;
  }
  EXPECT_EQ(rows.text("ORI_DATA"),
            common::big5ToUtf8(demodata::formatT02Record(first).substr(0, 83)));
  rows.next();
  EXPECT_EQ(rows.text("FILE_SEQ"), "T02000002");  // the skipped line leaves no gap
  EXPECT_EQ(rows.text("INVO_TRACK"), "CD00000002");
  EXPECT_EQ(rows.number("ZTX_S_AMT"), 0);
}

TEST_F(IndexImportTest, T08FieldsSignedAmountsAndRawCopies) {
  demodata::T08Line line;
  line.BL_YR = "113";
  line.BL_MM = "02";
  line.HSN_CD = "A";
  line.BAN = kBan;
  line.VAT_LOSN_X9 = "123456789";
  line.INVO_DATE = "1130105";
  line.INVO_TRACK_NO = "AB12345678";
  line.FA_REF_NM = "數控車床";
  line.FA_REF_QTY = 3;
  line.FA_REF_AMT = -121;
  line.FA_REF_TAX = 120;
  line.UES_NM = "生產用";
  line.signedPositive = true;
  const std::string record = demodata::formatT08Record(line);
  ASSERT_EQ(record.substr(206, 12), "00000000012J");
  ASSERT_EQ(record.substr(218, 10), "000000012{");
  const auto file = writeFiling("12345678.t08", record);
  recordUpload(kBan, "", crcOf(file), "");

  IndexImportFlow flow(ui, orbWin, orbCode);
  ASSERT_TRUE(flow.importCategory(request("T08"))) << ::testing::PrintToString(ui.messages());
  auto rows = store::IndexQueries(orbWin).indexRows(kBan, "T08");
  ASSERT_EQ(rows.recordCount(), 1U);
  rows.first();
  EXPECT_EQ(rows.text("BL_YR"), "113");
  EXPECT_EQ(rows.text("INVO_DATE"), "1130105");
  EXPECT_EQ(rows.text("FA_REF_NM"), "數控車床");  // padding trimmed before the width check
  EXPECT_EQ(rows.number("FA_REF_QTY"), 3);
  EXPECT_EQ(rows.number("FA_REF_AMT"), -121);
  EXPECT_EQ(rows.number("FA_REF_TAX"), 120);
  EXPECT_EQ(rows.text("FILE_SEQ"), "T08000001");
  EXPECT_EQ(rows.text("T08_CRC"), crcOf(file));
  EXPECT_EQ(rows.text("ORI_DATA_1"), common::big5ToUtf8(record.substr(0, 228)));
  EXPECT_EQ(rows.text("ORI_DATA_2"), common::big5ToUtf8(record.substr(228, 240)));
  EXPECT_EQ(rows.text("ORI_DATA_3"), common::big5ToUtf8(record.substr(468, 60)));
}

TEST_F(IndexImportTest, TetFieldsFromTheReturnHeader) {
  demodata::TetRecord header;
  header.texts = {{"DATA_TP", "1"},
                  {"BAN", kBan},
                  {"DATA_YYMM_X5", kPeriod},
                  {"FLG_TMS", "5"},
                  {"VAT_LOSN_X9", "123456789"},
                  {"TOTAL_PAID_MK", "1"},
                  {"HSN_CD", "B"}};
  const auto file = writeFiling("12345678.TET", demodata::formatTetRecord(header));
  ASSERT_EQ(fs::file_size(file), 1268U);
  recordUpload(kBan, "", "", crcOf(file));
  IndexImportFlow flow(ui, orbWin, orbCode);
  ASSERT_TRUE(flow.importCategory(request("TET"))) << ::testing::PrintToString(ui.messages());
  auto rows = store::IndexQueries(orbWin).indexRows(kBan, "TET");
  ASSERT_EQ(rows.recordCount(), 1U);
  rows.first();
  for (const auto& [column, value] : header.texts) EXPECT_EQ(rows.text(column), value) << column;
  EXPECT_EQ(rows.text("FILE_SEQ"), "TET000001");
  EXPECT_EQ(rows.text("TET_CRC"), crcOf(file));
}

TEST(SignedZonedTest, Values) {
  const std::pair<const char*, double> cases[] = {{"00000000012J", -121},
                                                  {"00000000012{", 120},
                                                  {"000000012345", 12345},
                                                  {"0000000001}", -10},
                                                  {"{", 0},
                                                  {"}", 0},
                                                  {"A", 1},
                                                  {"R", -9},
                                                  {"            ", 0}};
  for (const auto& [text, value] : cases) {
    const auto zoned = parseSignedZoned(text);
    EXPECT_EQ(zoned.value, value) << text;
    EXPECT_FALSE(zoned.leadingNotDigits) << text;
  }
  const auto blanks = parseSignedZoned("      00012J");
  EXPECT_TRUE(blanks.leadingNotDigits);
  EXPECT_EQ(blanks.value, -121);
  for (const char* bad : {"0000000AB12J", "00000000012 ", "-0000000012J"}) {
    try {
      (void)parseSignedZoned(bad);
      ADD_FAILURE() << bad;
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()), std::string("資料內含\"") + bad + "\":非數值資料型態！");
    }
  }
}

TEST_F(IndexImportTest, RefusalsAndFailuresLeaveThePreviousIndex) {
  importBaseline();
  IndexImportFlow flow(ui, orbWin, orbCode);

  // The filing file changed after the return upload.
  writeFiling("12345678.T02", t02File({t02Line("1", 99)}));
  EXPECT_FALSE(flow.importCategory(request("T02")));
  EXPECT_EQ(ui.messages().back(), "申報檔位置的檔案不是申報上傳的檔案，請重新輸入!");
  expectBaselineIntact();

  // The database write fails half-way: the delete ran, the inserts did not.
  const auto file =
      writeFiling("12345678.T02", t02File({t02Line("1"), t02Line("1"), t02Line("1")}));
  orbWin.execute("UPDATE ORBDB1_LAST_UPLOAD SET T02_CRC = :C", {{"C", crcOf(file)}});
  orbWin.failEngineCall(6);  // last-upload lookup, BEGIN, two deletes, one insert, then fail
  EXPECT_FALSE(flow.importCategory(request("T02")));
  EXPECT_EQ(ui.messages().back(), "Injected fault: the engine call failed");
  expectBaselineIntact();
  ASSERT_EQ(count("SELECT COUNT(*) FROM ORBDB_ATH_T02 WHERE FILE_SEQ = 'T02000003'"), 0);

  // No upload recorded for the type.
  orbWin.execute("UPDATE ORBDB1_LAST_UPLOAD SET T02_CRC = ''");
  EXPECT_FALSE(flow.importCategory(request("T02")));
  EXPECT_EQ(ui.messages().back(), "請先執行營業稅申報上傳後，再執行附件上傳的設定!");
  expectBaselineIntact();
}

TEST_F(IndexImportTest, NonNumericSignedFieldStopsTheImport) {
  importBaseline();
  std::string record(530, '0');
  record.replace(0, 14, "11302A12345678");
  record.replace(206, 12, "0000000AB12J");
  record.replace(528, 2, "\r\n");
  const auto file = writeFiling("12345678.T08", record);
  recordUpload(kBan, "", crcOf(file), "");
  orbWin.execute("DELETE FROM ORBDB1_LAST_UPLOAD WHERE T08_CRC = ''");
  // The T08 import stops; the T02 index of the same taxpayer is not touched either.
  IndexImportFlow flow(ui, orbWin, orbCode);
  EXPECT_FALSE(flow.importCategory(request("T08")));
  ASSERT_GE(ui.messages().size(), 2U);
  EXPECT_EQ(ui.messages()[ui.messages().size() - 2],
            "檔案內數值欄位: 0000000AB12J ，含有非數值型態字元，請修正後再執行審核作業 !!");
  EXPECT_EQ(ui.messages().back(), "資料內含\"0000000AB12J\":非數值資料型態！");
  EXPECT_EQ(count("SELECT COUNT(*) FROM ORBDB_ATH_T08"), 0);
}

TEST_F(IndexImportTest, ReimportQuestionAndMissingFiles) {
  importBaseline();
  IndexImportFlow flow(ui, orbWin, orbCode);

  ui.answers = {Answer::No};
  EXPECT_EQ(flow.editCategory(request("T02")), EditOutcome::KeptExisting);
  EXPECT_EQ(ui.shown.back().text,
            "附件類別 零稅率銷售額 已有設定的資料，是否重新設定? \n\n按 [Yes] "
            "重新設定(將清除已設定的資料)\n\n按 [No] 不重新設定(顯示已設定的資料)");
  expectBaselineIntact();

  ui.answers = {Answer::Yes};
  EXPECT_EQ(flow.editCategory(request("T02")), EditOutcome::Imported);
  EXPECT_EQ(count("SELECT COUNT(*) FROM ORBDB_ATH_FILE"), 0);  // re-import drops the documents
  EXPECT_EQ(count("SELECT COUNT(*) FROM ORBDB_ATH_T02"), 2);

  fs::remove(filingFolder / "12345678.T02");
  ui.answers = {Answer::Yes};
  EXPECT_EQ(flow.editCategory(request("T02")), EditOutcome::Stopped);
  EXPECT_EQ(ui.messages().back(), "輸入的申報檔位置無申報檔案 ( 12345678.T02 )，請重新設定!");
  EXPECT_EQ(count("SELECT COUNT(*) FROM ORBDB_ATH_T02"), 2);

  EXPECT_EQ(flow.editCategory(request("TET")), EditOutcome::Stopped);  // no rows: no question
  EXPECT_EQ(ui.messages().back(), "輸入的申報檔位置無申報檔案 ( 12345678.TET )，請重新設定!");
  EXPECT_FALSE(flow.importCategory(request("TET"), true));
  EXPECT_EQ(ui.messages().back(), "輸入的申報檔位置無申報書檔案 ( 12345678.TET )，請重新設定!");
}

TEST_F(IndexImportTest, FilingFilesFoundRegardlessOfCaseAndReadOnly) {
  const auto file = writeFiling("12345678.T02", t02File({t02Line("1")}));
  ::chmod(file.c_str(), 0444);
  const std::string folder = common::utf8FromPath(filingFolder);
  EXPECT_EQ(findFilingFile(folder, "12345678.t02"), file);
  EXPECT_EQ(findFilingFile(folder + "//", "12345678.T02"), file);  // doubled separator
  EXPECT_FALSE(findFilingFile(folder, "12345678.T08").has_value());
  recordUpload(kBan, crcOf(file), "", "");
  IndexImportFlow flow(ui, orbWin, orbCode);
  EXPECT_TRUE(flow.importCategory(request("T02")));
  EXPECT_EQ(countUnclearedT02Lines(file), 1);
}

TEST_F(IndexImportTest, BulkDeleteAsksFirst) {
  importBaseline();
  IndexImportFlow flow(ui, orbWin, orbCode);
  EXPECT_FALSE(flow.deleteCategoryAsked(kBan, "t02"));  // declined
  expectBaselineIntact();
  ui.answers = {Answer::Yes};
  EXPECT_TRUE(flow.deleteCategoryAsked(kBan, "t02"));
  EXPECT_EQ(ui.shown.back().text, "將清除附件類別 零稅率銷售額 已設定的索引資料，是否繼續? ");
  EXPECT_EQ(count("SELECT COUNT(*) FROM ORBDB_ATH_T02"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM ORBDB_ATH_FILE"), 0);
}

}  // namespace
}  // namespace athup::index::testing
