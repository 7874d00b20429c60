#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "common/clock.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/run_log.h"
#include "store/catalogue/ath_code_install.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/engine/database.h"
#include "support/temp_dir.h"

namespace athup::store {
namespace {

namespace fs = std::filesystem;
using athup::testing::readFile;
using athup::testing::TempDir;

std::size_t countOf(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (auto pos = text.find(piece); pos != std::string::npos; pos = text.find(piece, pos + 1)) {
    ++count;
  }
  return count;
}

class PeriodTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    periodFolder = dir / "11305";
    fs::create_directories(periodFolder);
    common::startRunLog(runLog, clock);
    orbWin.open("ORBWIN", periodFolder);
  }
  // The preparation as the flow runs it: the tables, then the migrations; the files of the
  // tables still missing.
  std::vector<fs::path> prepare() {
    auto missing = preparePeriodTables(orbWin, log);
    migrateOwnTables(orbWin);
    return missing;
  }
  std::string columnsOf(std::string_view table) {
    return orbWin.query("SELECT * FROM " + std::string(table) + " WHERE 1 = 0").fieldNamesText();
  }

  TempDir dir;
  fs::path periodFolder;
  fs::path runLog = dir / "orb_Ath.log";
  SystemClock clock;
  CatalogueLog log{runLog, clock};
  Database orbWin;
};

TEST_F(PeriodTablesTest, AnEmptyFolderGetsAllFiveTablesWithTheirChecksumColumns) {
  EXPECT_TRUE(prepare().empty());
  for (const auto table : kOwnPeriodTables) {
    EXPECT_TRUE(fs::is_regular_file(periodFolder / (std::string(table) + ".DB"))) << table;
  }
  EXPECT_EQ(columnsOf("ORBDB_ATH_FILE"),
            "BAN;FILE_SEQ;SUB_SEQ;FILE_NM;FILE_SUB_NM;FILE_PATH_NM;FILE_SIZE;FILE_TP;FILE_CRC");
  EXPECT_EQ(columnsOf("ORBDB_ATH_T02"),
            "BAN;HSN_CD;VAT_LOSN_X9;DATA_YYMM_X5;INVO_YM;INVO_TRACK;BUYER_BAN;EXPORT_MODE;"
            "PCTS_MODE;BILL_OF_SIGHT_TP;BILL_OF_SIGHT_NO;ZTX_S_AMT;FGN_EXCH_DATE;FILE_SEQ;"
            "ORI_DATA;T02_CRC");
  EXPECT_EQ(columnsOf("ORBDB_ATH_T08"),
            "BL_YR;BL_MM;HSN_CD;BAN;VAT_LOSN_X9;INVO_DATE;INVO_TRACK_NO;FA_REF_NM;FA_REF_QTY;"
            "FA_REF_AMT;FA_REF_TAX;UES_NM;FILE_SEQ;ORI_DATA_1;ORI_DATA_2;ORI_DATA_3;T08_CRC");
  EXPECT_EQ(columnsOf("ORBDB1_ATH_STATUS"), "BAN;FILE_CD;STATUS_DATA");
  EXPECT_EQ(columnsOf("ORBDB_ATH_TET"),
            "BAN;HSN_CD;VAT_LOSN_X9;DATA_YYMM_X5;DATA_TP;FLG_TMS;TOTAL_PAID_MK;FILE_SEQ;TET_CRC");
  EXPECT_EQ(countOf(readFile(runLog), "End of CreateTable"), 5U);

  // The added column has its width like the others: a 21-byte checksum text is refused.
  EXPECT_THROW(orbWin.execute("INSERT INTO ORBDB_ATH_T02 (BAN, T02_CRC) VALUES ('1', :C)",
                              {{"C", std::string(21, 'F')}}),
               Error);

  // A second preparation finds everything in place and changes nothing.
  EXPECT_TRUE(prepare().empty());
  EXPECT_EQ(countOf(readFile(runLog), "End of CreateTable"), 5U);
}

// The layout as stored in each table file, read with a connection of its own: the filing
// program shares these tables, so names, order, types and widths are fixed.
std::string storedLayout(const fs::path& file, const std::string& table) {
  sqlite3* db = nullptr;
  std::string layout;
  const std::string name = common::utf8FromPath(file);
  if (sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, upper(type) FROM pragma_table_info(?1)", -1, &stmt,
                       nullptr);
    sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      layout += std::string(layout.empty() ? "" : ", ") +
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)) + " " +
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return layout;
}

TEST_F(PeriodTablesTest, TableFilesHoldTheSharedLayout) {
  ASSERT_TRUE(prepare().empty());
  const std::pair<const char*, const char*> layouts[] = {
      {"ORBDB_ATH_FILE",
       "BAN CHAR(8), FILE_SEQ CHAR(10), SUB_SEQ CHAR(4), FILE_NM CHAR(30), FILE_SUB_NM CHAR(4), "
       "FILE_PATH_NM CHAR(240), FILE_SIZE NUMERIC, FILE_TP CHAR(4), FILE_CRC CHAR(20)"},
      {"ORBDB_ATH_T02",
       "BAN CHAR(8), HSN_CD CHAR(1), VAT_LOSN_X9 CHAR(9), DATA_YYMM_X5 CHAR(5), INVO_YM CHAR(5), "
       "INVO_TRACK CHAR(10), BUYER_BAN CHAR(8), EXPORT_MODE CHAR(1), PCTS_MODE CHAR(1), "
       "BILL_OF_SIGHT_TP CHAR(2), BILL_OF_SIGHT_NO CHAR(14), ZTX_S_AMT NUMERIC, "
       "FGN_EXCH_DATE CHAR(7), FILE_SEQ CHAR(10), ORI_DATA BLOB(240), T02_CRC CHAR(20)"},
      {"ORBDB_ATH_T08",
       "BL_YR CHAR(3), BL_MM CHAR(2), HSN_CD CHAR(1), BAN CHAR(8), VAT_LOSN_X9 CHAR(9), "
       "INVO_DATE CHAR(7), INVO_TRACK_NO CHAR(14), FA_REF_NM CHAR(150), FA_REF_QTY NUMERIC, "
       "FA_REF_AMT NUMERIC, FA_REF_TAX NUMERIC, UES_NM BLOB(240), FILE_SEQ CHAR(10), "
       "ORI_DATA_1 BLOB(240), ORI_DATA_2 BLOB(240), ORI_DATA_3 BLOB(240), T08_CRC CHAR(20)"},
      {"ORBDB1_ATH_STATUS", "BAN CHAR(8), FILE_CD CHAR(2), STATUS_DATA CHAR(220)"},
      {"ORBDB_ATH_TET",
       "BAN CHAR(8), HSN_CD CHAR(1), VAT_LOSN_X9 CHAR(9), DATA_YYMM_X5 CHAR(5), DATA_TP CHAR(1), "
       "FLG_TMS CHAR(4), TOTAL_PAID_MK CHAR(1), FILE_SEQ CHAR(10), TET_CRC CHAR(20)"},
  };
  for (const auto& [table, layout] : layouts) {
    EXPECT_EQ(storedLayout(periodFolder / (std::string(table) + ".DB"), table), layout) << table;
  }
}

TEST_F(PeriodTablesTest, AnOldIndexTableKeepsItsRowsAndGainsAnEmptyChecksumColumn) {
  ASSERT_TRUE(createOwnTable(orbWin, 'B', log));
  EXPECT_EQ(columnsOf("ORBDB_ATH_T02").find("T02_CRC"), std::string::npos);
  orbWin.execute("INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ, ZTX_S_AMT) VALUES (:BAN, :SEQ, 5)",
                 {{"BAN", "12345678"}, {"SEQ", "T02000001"}});
  orbWin.close();  // as a previous run would have left it
  orbWin.open("ORBWIN", periodFolder);

  EXPECT_TRUE(prepare().empty());
  auto rows = orbWin.query("SELECT * FROM ORBDB_ATH_T02");
  ASSERT_EQ(rows.recordCount(), 1U);
  EXPECT_EQ(rows.text("FILE_SEQ"), "T02000001");
  EXPECT_EQ(rows.number("ZTX_S_AMT"), 5.0);
  EXPECT_EQ(rows.text("T02_CRC"), "");
}

TEST_F(PeriodTablesTest, ATableThatCannotBeCreatedIsReportedAndTheRestGoesOn) {
  // A dangling link where the TET file would go: the file cannot be made there.
  std::error_code error;
  fs::create_symlink(dir / "gone" / "x.DB", periodFolder / "ORBDB_ATH_TET.DB", error);
  if (error) {
    GTEST_SKIP() << "no symbolic links here";
  }
  EXPECT_EQ(prepare(), std::vector<fs::path>{periodFolder / "ORBDB_ATH_TET.DB"});
  EXPECT_TRUE(fs::is_symlink(periodFolder / "ORBDB_ATH_TET.DB"));  // not ours to remove
  EXPECT_TRUE(orbWin.tableExists("ORBDB_ATH_FILE"));
  EXPECT_NE(columnsOf("ORBDB_ATH_T08").find("T08_CRC"), std::string::npos);
  // The log line is written also for the statement that failed.
  EXPECT_EQ(countOf(readFile(runLog), "End of CreateTable"), 5U);
}

TEST(CatalogueTest, TheCategoryTableIsInstalledOnlyWhenMissing) {
  struct Case {
    const char* name;
    const char* codeFolder;  // as the code folder is spelt on disk; "" for none yet
    bool existing;
    bool copied;
  };
  const Case cases[] = {
      {"missing: copied", "code", false, true},
      {"missing, folder spelt CODE: copied into it", "CODE", false, true},
      {"existing: never overwritten", "CODE", true, false},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const fs::path installed = dir.write("Docs/DB/code/ORBDB1_ATH_CODE.DB", "delivered copy")
                                   .parent_path()
                                   .parent_path()
                                   .parent_path();
    const fs::path dbRoot = dir / "DB";
    fs::create_directories(dbRoot / c.codeFolder);
    if (c.existing) {
      dir.write(std::string("DB/") + c.codeFolder + "/ORBDB1_ATH_CODE.DB", "user's own table");
    }
    EXPECT_EQ(installCategoryTable(dbRoot.string(), installed), c.copied) << c.name;
    EXPECT_EQ(readFile(dbRoot / c.codeFolder / "ORBDB1_ATH_CODE.DB"),
              c.existing ? "user's own table" : "delivered copy")
        << c.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dbRoot), fs::directory_iterator()), 1) << c.name;
    // Only the table itself: no copy under a temporary name is left beside it.
    EXPECT_EQ(
        std::distance(fs::directory_iterator(dbRoot / c.codeFolder), fs::directory_iterator()), 1)
        << c.name;
  }
}

TEST(CatalogueTest, FilingProgramTablesAreCreatedUnderTheirOwnNames) {
  TempDir dir;
  Database code;
  code.open("ORBCODE", dir.path());
  for (const auto table : codeFolderTables()) {
    createFilingProgramTable(code, table);
  }
  EXPECT_TRUE(fs::is_regular_file(dir / "ORBDB1_AgentContact.DB"));
  EXPECT_TRUE(fs::is_regular_file(dir / "ORBDB1_APPLYER.DB"));
  // The master holds names of 60 Big5 bytes.
  code.execute("INSERT INTO ORBDB1_Applyer (BAN, BAN_NM_X30) VALUES ('12345678', :NM)",
               {{"NM", std::string(60, 'N')}});
  EXPECT_THROW(createFilingProgramTable(code, "ORBDB1_APPLYER"), Error);
  EXPECT_THROW(createFilingProgramTable(code, "ORBDB_ATH_FILE"), std::invalid_argument);
}

}  // namespace
}  // namespace athup::store
