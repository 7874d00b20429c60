#include "store/engine/database.h"

#include <gtest/gtest.h>

#include <string>

#include "common/errors.h"
#include "store/engine/table_files.h"
#include "support/temp_dir.h"

namespace athup::store {
namespace {

namespace fs = std::filesystem;
using athup::testing::TempDir;

std::string repeat(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) {
    text += piece;
  }
  return text;
}

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db.open("ORBWIN", dir.path());
    db.execute(
        "CREATE TABLE ORBDB_ATH_FILE (BAN CHAR(8), FILE_NM CHAR(60), FILE_SIZE Numeric, "
        "NOTE BLOB(240))");
  }
  TempDir dir;
  Database db;
};

TEST_F(DatabaseTest, EachTableIsItsOwnFileAndRowsRoundTrip) {
  EXPECT_TRUE(fs::is_regular_file(dir / "ORBDB_ATH_FILE.DB"));
  db.execute(
      "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_NM, FILE_SIZE, NOTE) "
      "VALUES (:BAN, :FILE_NM, :FILE_SIZE, :NOTE)",
      {{":BAN", "12345678"},
       {"FILE_NM", "發票.pdf"},
       {"FILE_SIZE", 1024.0},
       {"NOTE", repeat("x", 1000)}});
  EXPECT_EQ(db.lastChanges(), 1);

  auto rows = db.query("select * from \"ORBDB_ATH_FILE.DB\" where BAN = \"12345678\"");
  ASSERT_EQ(rows.recordCount(), 1U);
  EXPECT_EQ(rows.fieldNamesText(), "BAN;FILE_NM;FILE_SIZE;NOTE");
  EXPECT_EQ(rows.text("file_nm"), "發票.pdf");
  EXPECT_EQ(rows.number("FILE_SIZE"), 1024.0);
  EXPECT_EQ(rows.text("FILE_SIZE"), "1024");
  EXPECT_EQ(rows.text("NOTE").size(), 1000U);  // memo columns hold any length

  // A second connection on the same folder sees the committed row.
  Database other;
  other.open("OTHER", dir.path());
  EXPECT_EQ(other.query("SELECT COUNT(*) N FROM ORBDB_ATH_FILE").number("N"), 1.0);
}

TEST_F(DatabaseTest, CharWidthsAreBig5BytesAndOverlongValuesAreRefused) {
  // 30 Chinese characters are 60 Big5 bytes (90 UTF-8 bytes): they fit CHAR(60); 31 do not.
  const std::string fits = repeat("營", 30);
  db.execute("INSERT INTO ORBDB_ATH_FILE (BAN, FILE_NM) VALUES (:BAN, :FILE_NM)",
             {{"BAN", "1"}, {"FILE_NM", fits}});
  EXPECT_EQ(db.query("SELECT FILE_NM FROM ORBDB_ATH_FILE").text("FILE_NM"), fits);

  struct Case {
    std::string sql;
    Params params;
  };
  const Case refused[] = {
      {"INSERT INTO ORBDB_ATH_FILE (BAN, FILE_NM) VALUES (:BAN, :FILE_NM)",
       {{"BAN", "2"}, {"FILE_NM", fits + "營"}}},
      {"INSERT INTO ORBDB_ATH_FILE (BAN) VALUES ('123456789')", {}},
      {"UPDATE ORBDB_ATH_FILE SET FILE_NM = :FILE_NM", {{"FILE_NM", fits + "a"}}},
  };
  for (const auto& c : refused) {
    try {
      db.execute(c.sql, c.params);
      ADD_FAILURE() << "accepted: " << c.sql;
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find("ORBDB_ATH_FILE."), std::string::npos)
          << error.what();
    }
  }
  // Nothing was cut or half-written.
  auto rows = db.query("SELECT * FROM ORBDB_ATH_FILE");
  ASSERT_EQ(rows.recordCount(), 1U);
  EXPECT_EQ(rows.text("FILE_NM"), fits);
}

TEST_F(DatabaseTest, EveryParameterMustBeBoundByName) {
  const char* insert = "INSERT INTO ORBDB_ATH_FILE (BAN) VALUES (:BAN)";
  EXPECT_THROW(db.execute(insert), Error);                                      // missing
  EXPECT_THROW(db.execute(insert, {{"BAN", "1"}, {"FILE_TP", "T02"}}), Error);  // unknown
  EXPECT_THROW(db.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES (?)", {}), Error);
  EXPECT_EQ(db.query("SELECT COUNT(*) N FROM ORBDB_ATH_FILE").number("N"), 0.0);
}

TEST_F(DatabaseTest, EngineErrorsCarryTheEngineMessage) {
  try {
    (void)db.query("SELECT * FROM ORBDB_NO_SUCH_TABLE");
    FAIL();
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("ORBDB_NO_SUCH_TABLE"), std::string::npos);
  }
  EXPECT_THROW(db.execute("CREATE TABLE ORBDB_ATH_FILE (BAN CHAR(8))"), Error);
  EXPECT_THROW(db.execute("DELETE FROM ORBDB_ATH_FILE; DELETE FROM ORBDB_ATH_FILE"), Error);
}

TEST_F(DatabaseTest, AFailedCreateLeavesNoFile) {
  EXPECT_THROW(db.execute("CREATE TABLE ORBDB_BROKEN (BAN CHAR(8), BAN CHAR(8))"), Error);
  EXPECT_FALSE(fs::exists(dir / "ORBDB_BROKEN.DB"));
  EXPECT_FALSE(db.tableExists("ORBDB_BROKEN"));
}

TEST_F(DatabaseTest, TableFilesAreFoundWhateverTheirCase) {
  db.execute("CREATE TABLE ORBDB1_Applyer (BAN CHAR(8))");
  EXPECT_EQ(findTableFile(dir.path(), "ORBDB1_APPLYER").filename(), "ORBDB1_Applyer.DB");
  db.execute("INSERT INTO ORBDB1_APPLYER (BAN) VALUES ('1')");

  Database fresh;
  fresh.open("ORBCODE", dir.path());
  EXPECT_EQ(fresh.query("SELECT * FROM \"ORBDB1_APPLYER.DB\"").recordCount(), 1U);
}

TEST_F(DatabaseTest, JoinsRenameRepeatedFieldNames) {
  db.execute("CREATE TABLE ORBDB_ATH_T02 (BAN CHAR(8), FILE_SEQ CHAR(10))");
  db.execute("INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ) VALUES ('1', 'T02000001')");
  db.execute("INSERT INTO ORBDB_ATH_FILE (BAN, FILE_NM) VALUES ('1', 'a.pdf')");
  auto rows = db.query("SELECT * FROM ORBDB_ATH_T02 A ,ORBDB_ATH_FILE B  WHERE A.BAN=B.BAN");
  ASSERT_EQ(rows.recordCount(), 1U);
  EXPECT_EQ(rows.fieldNamesText(), "BAN;FILE_SEQ;BAN_1;FILE_NM;FILE_SIZE;NOTE");
  EXPECT_EQ(rows.text("FILE_NM"), "a.pdf");
  EXPECT_THROW((void)rows.text("NO_SUCH_FIELD"), Error);
}

TEST_F(DatabaseTest, TheCursorWalksTheRowsByNumber) {
  for (const char* ban : {"1", "2", "3"}) {
    db.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES (:BAN)", {{"BAN", ban}});
  }
  auto rows = db.query("SELECT BAN FROM ORBDB_ATH_FILE ORDER BY BAN");
  std::string walked;
  for (rows.first(); !rows.eof(); rows.next()) {
    walked += std::to_string(rows.recNo()) + "=" + rows.text("BAN") + " ";
  }
  EXPECT_EQ(walked, "1=1 2=2 3=3 ");
  EXPECT_THROW((void)rows.text("BAN"), Error);  // past the last row

  rows.setRecNo(2);
  EXPECT_EQ(rows.text("BAN"), "2");
  EXPECT_THROW(rows.setRecNo(0), Error);
  EXPECT_THROW(rows.setRecNo(4), Error);
  EXPECT_EQ(rows.recNo(), 2U);  // a refused move leaves the cursor where it was

  auto none = db.query("SELECT BAN FROM ORBDB_ATH_FILE WHERE BAN = 'x'");
  EXPECT_TRUE(none.eof());
  EXPECT_EQ(none.recordCount(), 0U);
}

TEST_F(DatabaseTest, TransactionsCommitOrRollBackTogether) {
  {
    auto transaction = db.transaction({"ORBDB_ATH_FILE"});
    db.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES ('1')");
    db.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES ('2')");
  }  // not committed
  EXPECT_EQ(db.query("SELECT COUNT(*) N FROM ORBDB_ATH_FILE").number("N"), 0.0);

  Database other;
  other.open("OTHER", dir.path());
  other.execute("CREATE TABLE ORBDB_LATE (BAN CHAR(8))");

  auto transaction = db.transaction({"ORBDB_ATH_FILE"});
  db.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES ('1')");
  // A table not named at the start cannot join: its file cannot be attached now.
  EXPECT_THROW((void)db.query("SELECT * FROM ORBDB_LATE"), Error);
  EXPECT_THROW(db.execute("CREATE TABLE ORBDB_NEW (BAN CHAR(8))"), Error);
  transaction.commit();
  EXPECT_EQ(db.query("SELECT COUNT(*) N FROM ORBDB_ATH_FILE").number("N"), 1.0);
}

TEST_F(DatabaseTest, ReconnectPointsTheAliasAtAnotherFolder) {
  db.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES ('11111111')");
  TempDir second;
  db.reconnect(second.path());
  EXPECT_EQ(db.folder(), second.path());
  EXPECT_THROW((void)db.query("SELECT * FROM ORBDB_ATH_FILE"), Error);
  db.execute("CREATE TABLE ORBDB_ATH_FILE (BAN CHAR(8))");
  db.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES ('22222222')");
  EXPECT_EQ(db.query("SELECT BAN FROM ORBDB_ATH_FILE").text("BAN"), "22222222");

  db.reconnect(dir.path());
  EXPECT_EQ(db.query("SELECT BAN FROM ORBDB_ATH_FILE").text("BAN"), "11111111");
}

TEST_F(DatabaseTest, AFolderWithMoreTablesThanTheAttachLimitStillWorks) {
  // SQLite attaches ten files per connection; the folder holds fifteen tables.
  for (int i = 0; i < 14; ++i) {
    const std::string table = "ORBDB_EXTRA_" + std::to_string(i);
    db.execute("CREATE TABLE " + table + " (BAN CHAR(8), N Numeric)");
    db.execute("INSERT INTO " + table + " (BAN, N) VALUES (:BAN, :N)",
               {{"BAN", "12345678"}, {"N", i}});
  }
  std::string sql;
  for (int i = 0; i < 14; i += 2) {
    sql += (sql.empty() ? "" : " UNION ") + std::string("SELECT N FROM ORBDB_EXTRA_") +
           std::to_string(i);
  }
  EXPECT_EQ(db.query(sql).recordCount(), 7U);
  double sum = 0;
  for (int i = 13; i >= 0; --i) {
    sum += db.query("SELECT N FROM ORBDB_EXTRA_" + std::to_string(i)).number("N");
  }
  EXPECT_EQ(sum, 91.0);

  // Widths are still enforced on a table that was detached and attached again.
  EXPECT_THROW(db.execute("INSERT INTO ORBDB_EXTRA_0 (BAN) VALUES ('123456789')"), Error);

  std::string tooMany;
  for (int i = 0; i < 11; ++i) {
    tooMany += (tooMany.empty() ? "" : " UNION ") + std::string("SELECT N FROM ORBDB_EXTRA_") +
               std::to_string(i);
  }
  EXPECT_THROW((void)db.query(tooMany), Error);
}

TEST_F(DatabaseTest, ExecuteEachRunsOnePreparedStatementPerSet) {
  const std::string insert =
      "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_NM, FILE_SIZE) VALUES (:BAN, :FILE_NM, :FILE_SIZE)";
  db.executeEach(insert, {{{"FILE_SIZE", 1.0}, {"BAN", "11111111"}, {"FILE_NM", "a"}},
                          {{"FILE_SIZE", 2.0}, {"BAN", "22222222"}, {"FILE_NM", "b"}}});
  EXPECT_EQ(db.lastChanges(), 2);
  auto rows = db.query("SELECT * FROM ORBDB_ATH_FILE ORDER BY FILE_SIZE");
  ASSERT_EQ(rows.recordCount(), 2U);
  rows.next();
  EXPECT_EQ(rows.text("BAN"), "22222222");
  EXPECT_EQ(rows.text("FILE_NM"), "b");

  // Sets that do not name the same parameters, a value too wide, and a failing engine call.
  EXPECT_THROW(db.executeEach(insert, {{{"FILE_SIZE", 1.0}, {"BAN", "1"}, {"FILE_NM", "a"}},
                                       {{"FILE_NM", "b"}, {"BAN", "2"}, {"FILE_SIZE", 2.0}}}),
               Error);
  EXPECT_THROW(
      db.executeEach(insert, {{{"FILE_SIZE", 1.0}, {"BAN", "123456789"}, {"FILE_NM", "a"}}}),
      Error);
  db.failEngineCall(2);
  EXPECT_THROW(db.executeEach(insert, {{{"FILE_SIZE", 1.0}, {"BAN", "1"}, {"FILE_NM", "a"}},
                                       {{"FILE_SIZE", 2.0}, {"BAN", "2"}, {"FILE_NM", "b"}}}),
               Error);
  EXPECT_EQ(db.query("SELECT COUNT(*) N FROM ORBDB_ATH_FILE WHERE BAN = '2'").number("N"), 0.0);
}

}  // namespace
}  // namespace athup::store
