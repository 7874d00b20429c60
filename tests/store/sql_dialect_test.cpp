#include "store/engine/sql_dialect.h"

#include <gtest/gtest.h>

namespace athup::store {
namespace {

TEST(SqlDialect, TranslatesTheEngineQuirksAndNothingElse) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      // table file names, quoted and unquoted, any case of the extension
      {R"(Select * From ORBDB_ATH_T02.DB Where BAN = "")",
       "Select * From ORBDB_ATH_T02 Where BAN = ''"},
      {R"(ALTER TABLE "ORBDB_ATH_T02.DB" ADD T02_CRC Char(20))",
       "ALTER TABLE ORBDB_ATH_T02 ADD T02_CRC Char(20)"},
      {R"(select * from "ORBDB1_Applyer.db" where BAN = :BAN)",
       "select * from ORBDB1_Applyer where BAN = :BAN"},
      {"SELECT * FROM ORBDB_ATH_TET.DB,ORBDB_ATH_FILE.DB",
       "SELECT * FROM ORBDB_ATH_TET,ORBDB_ATH_FILE"},
      // double-quoted text is a literal; quotes inside are kept or escaped
      {R"(DELETE FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_TP = "T02")",
       "DELETE FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_TP = 'T02'"},
      {R"(SELECT "it's" , "say ""hi""")", R"(SELECT 'it''s' , 'say "hi"')"},
      // single-quoted literals pass untouched, even when they look like the quirks
      {R"(SELECT 'A.DB "x"' FROM T)", R"(SELECT 'A.DB "x"' FROM T)"},
      // table aliases, concatenation and numbers are not file names
      {"SELECT A.BAN FROM ORBDB_ATH_T02 A WHERE A.BAN||A.FILE_SEQ NOT IN (SELECT 1.5)",
       "SELECT A.BAN FROM ORBDB_ATH_T02 A WHERE A.BAN||A.FILE_SEQ NOT IN (SELECT 1.5)"},
      {"SELECT X.DBASE FROM X", "SELECT X.DBASE FROM X"},
      // a comment keeps its quotes
      {"SELECT 1 -- \"x\"\n", "SELECT 1 -- \"x\"\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(translateStatement(c.in).sql, c.out) << c.in;
  }
}

TEST(SqlDialect, FindsTablesParametersAndTheDefinedTable) {
  const auto create = translateStatement(R"(CREATE TABLE "ORBDB_ATH_TET.DB" (BAN CHAR(8)))");
  EXPECT_EQ(create.createdTable, "ORBDB_ATH_TET");
  EXPECT_EQ(create.sql.substr(create.createdTableOffset, 13), "ORBDB_ATH_TET");

  const auto alter = translateStatement("alter table ORBDB_ATH_T08.DB add T08_CRC Char(20)");
  EXPECT_EQ(alter.alteredTable, "ORBDB_ATH_T08");
  EXPECT_TRUE(alter.createdTable.empty());

  const auto insert = translateStatement(
      "INSERT INTO ORBDB1_ATH_STATUS (BAN, FILE_CD) VALUES(:BAN, :FILE_CD) -- ':NOT'");
  EXPECT_EQ(insert.parameters, (std::vector<std::string>{"BAN", "FILE_CD"}));
  EXPECT_TRUE(insert.createdTable.empty());
  EXPECT_NE(std::find(insert.identifiers.begin(), insert.identifiers.end(), "ORBDB1_ATH_STATUS"),
            insert.identifiers.end());

  // A SELECT that mentions CREATE later is no definition.
  EXPECT_TRUE(translateStatement("SELECT CREATE_DATE FROM TABLE1").createdTable.empty());
}

}  // namespace
}  // namespace athup::store
