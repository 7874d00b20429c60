#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/clock.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/queries/attachment_queries.h"
#include "store/queries/category_queries.h"
#include "store/queries/last_upload_queries.h"
#include "store/queries/taxpayer_queries.h"
#include "support/temp_dir.h"

namespace athup::store {
namespace {

namespace fs = std::filesystem;
using athup::testing::TempDir;

constexpr const char* kBan = "12345678";
constexpr const char* kPeriod = "11305";
// The file checksum of a file holding "abc".
constexpr const char* kAbcCrc = "932BC606";

// What the filing program leaves behind for one taxpayer, and the program's own period tables.
class QueriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dbPath / "CODE");
    fs::create_directories(dbPath / kPeriod);
    orbCode.open("ORBCODE", dbPath / "CODE");
    orbWin.open("ORBWIN", dbPath / kPeriod);
    for (const auto table : codeFolderTables()) {
      createFilingProgramTable(orbCode, table);
    }
    createFilingProgramTable(orbWin, kLastUploadTable);
    SystemClock systemClock;
    ASSERT_TRUE(
        preparePeriodTables(orbWin, CatalogueLog{dir / "orb_Ath.log", systemClock}).empty());
    migrateOwnTables(orbWin);

    const char* applyer =
        "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9, HSN_CD, HEAD_BAN) "
        "VALUES (:BAN, :NM, '123456789', 'A', '87654321')";
    orbCode.execute(applyer, {{"BAN", kBan}, {"NM", "第一筆商行"}});
    orbCode.execute(applyer, {{"BAN", kBan}, {"NM", "第二筆商行"}});
    orbCode.execute(applyer, {{"BAN", "23456789"}, {"NM", "別家"}});
    orbCode.execute("INSERT INTO ORBDB1_ATH_CODE (CODE, CODE_NM) VALUES ('T02', '零稅率')");
  }

  void addFile(const char* ban, const char* seq, const char* type, double size) {
    orbWin.execute(
        "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, FILE_TP, FILE_SIZE) "
        "VALUES (:BAN, :FILE_SEQ, :FILE_TP, :FILE_SIZE)",
        {{"BAN", ban}, {"FILE_SEQ", seq}, {"FILE_TP", type}, {"FILE_SIZE", size}});
  }

  TempDir dir;
  fs::path dbPath = dir / "DB";
  Database orbWin;
  Database orbCode;
};

TEST_F(QueriesTest, TaxpayerAndCategoryLookups) {
  TaxpayerQueries taxpayers(orbCode);
  const auto first = taxpayers.findTaxpayer(kBan);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->BAN_NM_X30, "第一筆商行");  // the BAN is twice in the master
  EXPECT_EQ(first->BAN, kBan);
  EXPECT_EQ(first->VAT_LOSN_X9, "123456789");
  EXPECT_EQ(first->HEAD_BAN, "87654321");
  EXPECT_EQ(taxpayers.findTaxpayer("23456789")->BAN_NM_X30, "別家");
  EXPECT_FALSE(taxpayers.findTaxpayer("1234'678").has_value());
  EXPECT_FALSE(taxpayers.findTaxpayer("99999999").has_value());

  CategoryQueries categories(orbCode);
  EXPECT_EQ(categories.categoryName("T02"), "零稅率");
  EXPECT_EQ(categories.categoryName("T08"), "");
}

TEST_F(QueriesTest, FileSumsAndCounts) {
  addFile(kBan, "T02000001", "T02", 100);
  addFile(kBan, "T02000001", "T02", 20);
  addFile(kBan, "T02000002", "T02", 3);
  addFile(kBan, "T08000001", "T08", 4000);
  addFile("23456789", "T02000001", "T02", 50000);
  // Sizes beyond 32 bits are counted whole.
  addFile("34567890", "T02000001", "T02", 5000000000.0);
  addFile("34567890", "T02000002", "T02", 1);
  AttachmentQueries attachments(orbWin);

  struct Case {
    const char* ban;
    const char* seq;
    const char* type;
    std::int64_t total;
  };
  const Case totals[] = {
      {kBan, "", "", 4123},
      {kBan, " ", " ", 4123},  // blank filters do not filter
      {kBan, "T02000001", "", 120},
      {kBan, "", "T02", 123},
      {kBan, "T02000001", "T08", 0},
      {"", "T02000001", "T02", 0},
      {" ", "", "", 0},
      {"99999999", "", "", 0},
      {"34567890", "", "", 5000000001},
  };
  for (const auto& c : totals) {
    EXPECT_EQ(attachments.fileSizeTotal(c.ban, c.seq, c.type), c.total)
        << c.ban << "|" << c.seq << "|" << c.type;
  }
  EXPECT_EQ(attachments.fileSizeTotalExcept(kBan, "T02000001"), 4003);
  EXPECT_EQ(attachments.fileSizeTotalExcept("", "T02000001"), 0);
  EXPECT_EQ(attachments.fileSizeTotalExcept("34567890", "T02000002"), 5000000000);
  EXPECT_EQ(attachments.fileCount(kBan, "T02"), 3);
  EXPECT_EQ(attachments.fileCount(kBan, "TET"), 0);
}

TEST_F(QueriesTest, IndexRowsWithoutFiles) {
  for (const char* seq : {"T02000001", "T02000002", "T02000003"}) {
    orbWin.execute("INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ) VALUES (:BAN, :FILE_SEQ)",
                   {{"BAN", kBan}, {"FILE_SEQ", seq}});
  }
  addFile(kBan, "T02000002", "T02", 1);
  addFile("23456789", "T02000001", "T02", 1);  // another taxpayer's file does not count
  // A file row without a key must not make every index row look complete.
  orbWin.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES (:BAN)", {{"BAN", kBan}});
  AttachmentQueries attachments(orbWin);
  EXPECT_EQ(attachments.rowsWithoutFiles(kBan, "T02"), 2);
  EXPECT_EQ(attachments.rowsWithoutFiles(kBan, "T08"), 0);
  EXPECT_EQ(attachments.rowsWithoutFiles(kBan, "02"), 0);
}

TEST_F(QueriesTest, FilingFilesAreComparedWithTheLastReturnUpload) {
  const auto filingFile = dir.write("upload/12345678.T02", "abc");
  LastUploadQueries lastUploads(orbWin);
  struct Case {
    const char* name;
    bool hasRow;
    const char* storedT02;
    const char* type;
    LastUploadMatch match;
  };
  const Case cases[] = {
      {"equal", true, kAbcCrc, "T02", LastUploadMatch::Matches},
      {"blank-padded", true, "  932BC606 ", "T02", LastUploadMatch::Matches},
      {"different", true, "932BC607", "T02", LastUploadMatch::Differs},
      {"empty for the type", true, "", "T02", LastUploadMatch::NotUploaded},
      {"other type's column empty", true, kAbcCrc, "T08", LastUploadMatch::NotUploaded},
      {"no category", true, kAbcCrc, "XYZ", LastUploadMatch::NotUploaded},
      {"no row", false, "", "T02", LastUploadMatch::NotUploaded},
  };
  for (const auto& c : cases) {
    orbWin.execute("DELETE FROM ORBDB1_LAST_UPLOAD");
    if (c.hasRow) {
      orbWin.execute(
          "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, T02_CRC, T08_CRC, UPD_SUCCESS_NO) "
          "VALUES (:BAN, :P, :CRC, '', 'A123')",
          {{"BAN", kBan}, {"P", kPeriod}, {"CRC", c.storedT02}});
    }
    EXPECT_EQ(lastUploads.compareWithLastUpload(kBan, c.type, filingFile, kPeriod), c.match)
        << c.name;
  }
  // The last case left no row; put one back for the success number.
  orbWin.execute(
      "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, UPD_SUCCESS_NO) "
      "VALUES (:BAN, :P, 'A123')",
      {{"BAN", kBan}, {"P", kPeriod}});
  EXPECT_EQ(lastUploads.lastUploadSuccessNo(kBan, kPeriod), "A123");
  EXPECT_EQ(lastUploads.lastUploadSuccessNo(kBan, "11303"), "");
  EXPECT_EQ(lastUploads.lastUploadSuccessNo("", kPeriod), "");
}

}  // namespace
}  // namespace athup::store
