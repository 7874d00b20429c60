#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/errors.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/data_module/dm_ath.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::store {
namespace {

namespace fs = std::filesystem;
using athup::testing::ScriptedInteraction;
using athup::testing::TempDir;

constexpr const char* kBan = "12345678";
constexpr const char* kPeriod = "11305";
// The file checksum of a file holding "abc".
constexpr const char* kAbcCrc = "932BC606";

// What the filing program leaves behind for one taxpayer, and the program's own period tables.
class DataModuleTest : public ::testing::Test {
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
    ASSERT_EQ(preparePeriodTables(orbWin, ui, CatalogueLog{dir / "orb_Ath.log", systemClock}), 0U);

    const char* applyer =
        "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9, HSN_CD, HEAD_BAN) "
        "VALUES (:BAN, :NM, '123456789', 'A', '87654321')";
    orbCode.execute(applyer, {{"BAN", kBan}, {"NM", "第一筆商行"}});
    orbCode.execute(applyer, {{"BAN", kBan}, {"NM", "第二筆商行"}});
    orbCode.execute(applyer, {{"BAN", "23456789"}, {"NM", "別家"}});
    orbCode.execute("INSERT INTO ORBDB1_ATH_CODE (CODE, CODE_NM) VALUES ('T02', '零稅率')");

    settings.dbPath = dbPath;
    settings.exeDir = dir / "bin";
    settings.workingFolder = dir / "work";
    settings.version = "105";
    settings.versionDate = "1130501";
    fs::create_directories(settings.workingFolder);
  }

  void addFile(const char* ban, const char* seq, const char* type, double size) {
    orbWin.execute(
        "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, FILE_TP, FILE_SIZE) "
        "VALUES (:BAN, :FILE_SEQ, :FILE_TP, :FILE_SIZE)",
        {{"BAN", ban}, {"FILE_SEQ", seq}, {"FILE_TP", type}, {"FILE_SIZE", size}});
  }

  std::unique_ptr<TdmATH> started() {
    auto module = std::make_unique<TdmATH>(orbWin, orbCode, settings, ui);
    module->DataModuleCreate();
    return module;
  }

  TempDir dir;
  fs::path dbPath = dir / "DB";
  Database orbWin;
  Database orbCode;
  DataModuleSettings settings;
  ScriptedInteraction ui;
};

TEST_F(DataModuleTest, StartUpClearsLocksBindsAthDbAndPreparesTheTempFolder) {
  const auto lock = dir.write("work/PARADOX.LCK", "x");
  const auto users = dir.write("work/PDOXUSRS.LCK", "x");
  TdmATH module(orbWin, orbCode, settings, ui);
  module.DataModuleCreate();
  EXPECT_FALSE(fs::exists(lock));
  EXPECT_FALSE(fs::exists(users));
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_TRUE(fs::is_directory(dir / "bin" / "TMP"));
  EXPECT_EQ(module.athDb().folder(), dbPath / "CODE");
  EXPECT_EQ(module.athDb().query("SELECT COUNT(*) N FROM ORBDB1_APPLYER").number("N"), 3.0);
}

TEST_F(DataModuleTest, StartUpReportsEachMissingCodeTableAndGoesOn) {
  fs::remove(dbPath / "CODE" / "ORBDB1_ERROR.DB");
  fs::remove(dbPath / "CODE" / "ORBDB1_AgentContact.DB");
  dir.write("bin/TMP", "a file where the folder should be");
  (void)started();
  const std::string code = (dbPath / "CODE").string() + "/";
  EXPECT_EQ(ui.messages(),
            (std::vector<std::string>{"找不到資料檔:" + code + "ORBDB1_ERROR.DB",
                                      "找不到資料檔:" + code + "ORBDB1_AgentContact.DB",
                                      "無法建立暫存檔目錄"}));

  // Without the taxpayer master the start fails with the engine's error.
  fs::remove(dbPath / "CODE" / "ORBDB1_APPLYER.DB");
  Database freshCode;
  freshCode.open("ORBCODE", dbPath / "CODE");
  TdmATH broken(orbWin, freshCode, settings, ui);
  EXPECT_THROW(broken.DataModuleCreate(), Error);
}

TEST_F(DataModuleTest, TaxpayerAndCategoryLookups) {
  const auto owner = started();
  auto& module = *owner;
  const auto first = module.FindTaxpayer(kBan);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->BAN_NM_X30, "第一筆商行");  // the BAN is twice in the master
  EXPECT_EQ(first->BAN, kBan);
  EXPECT_EQ(first->VAT_LOSN_X9, "123456789");
  EXPECT_EQ(first->HEAD_BAN, "87654321");
  EXPECT_EQ(module.FindTaxpayer("23456789")->BAN_NM_X30, "別家");
  EXPECT_FALSE(module.FindTaxpayer("1234'678").has_value());
  EXPECT_TRUE(ui.shown.empty());

  EXPECT_FALSE(module.FindTaxpayerOrReport("99999999").has_value());
  ASSERT_EQ(ui.shown.size(), 2U);
  EXPECT_EQ(ui.shown[0].what, "status");
  EXPECT_EQ(ui.shown[0].text, "找不到營業人建檔資料");
  EXPECT_EQ(ui.messages(), std::vector<std::string>{"找不到營業人建檔資料"});

  EXPECT_EQ(module.CategoryName("T02"), "零稅率");
  EXPECT_EQ(module.CategoryName("T08"), "");
}

TEST_F(DataModuleTest, FileSumsAndCounts) {
  addFile(kBan, "T02000001", "T02", 100);
  addFile(kBan, "T02000001", "T02", 20);
  addFile(kBan, "T02000002", "T02", 3);
  addFile(kBan, "T08000001", "T08", 4000);
  addFile("23456789", "T02000001", "T02", 50000);
  const auto owner = started();
  auto& module = *owner;

  struct Case {
    const char* ban;
    const char* seq;
    const char* type;
    double total;
  };
  const Case totals[] = {
      {kBan, "", "", 4123},         {kBan, " ", " ", 4123},  // blank filters do not filter
      {kBan, "T02000001", "", 120}, {kBan, "", "T02", 123}, {kBan, "T02000001", "T08", 0},
      {"", "T02000001", "T02", 0},  {" ", "", "", 0},       {"99999999", "", "", 0},
  };
  for (const auto& c : totals) {
    EXPECT_EQ(module.FileSizeTotal(c.ban, c.seq, c.type), c.total)
        << c.ban << "|" << c.seq << "|" << c.type;
  }
  EXPECT_EQ(module.FileSizeTotalExcept(kBan, "T02000001"), 4003);
  EXPECT_EQ(module.FileSizeTotalExcept("", "T02000001"), 0);
  EXPECT_EQ(module.FileCount(kBan, "T02"), 3);
  EXPECT_EQ(module.FileCount(kBan, "TET"), 0);
}

TEST_F(DataModuleTest, IndexRowsWithoutFiles) {
  for (const char* seq : {"T02000001", "T02000002", "T02000003"}) {
    orbWin.execute("INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ) VALUES (:BAN, :FILE_SEQ)",
                   {{"BAN", kBan}, {"FILE_SEQ", seq}});
  }
  addFile(kBan, "T02000002", "T02", 1);
  addFile("23456789", "T02000001", "T02", 1);  // another taxpayer's file does not count
  // A file row without a key must not make every index row look complete.
  orbWin.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES (:BAN)", {{"BAN", kBan}});
  const auto owner = started();
  auto& module = *owner;
  EXPECT_EQ(module.RowsWithoutFiles(kBan, "T02"), 2);
  EXPECT_EQ(module.RowsWithoutFiles(kBan, "T08"), 0);
  EXPECT_EQ(module.RowsWithoutFiles(kBan, "02"), 0);
}

TEST_F(DataModuleTest, FilingFilesAreCheckedAgainstTheLastReturnUpload) {
  const auto filingFile = dir.write("upload/12345678.T02", "abc");
  const auto owner = started();
  auto& module = *owner;
  struct Case {
    const char* name;
    bool hasRow;
    const char* storedT02;
    const char* type;
    bool show;
    bool passes;
    const char* message;  // "" for none
  };
  const char* kDifferent = "申報檔位置的檔案不是申報上傳的檔案，請重新輸入!";
  const char* kNoUpload = "請先執行營業稅申報上傳後，再執行附件上傳的設定!";
  const Case cases[] = {
      {"equal", true, kAbcCrc, "T02", true, true, ""},
      {"blank-padded", true, "  932BC606 ", "T02", true, true, ""},
      {"different", true, "932BC607", "T02", true, false, kDifferent},
      {"different, quiet", true, "932BC607", "T02", false, false, ""},
      {"empty for the type", true, "", "T02", true, false, kNoUpload},
      {"other type's column empty", true, kAbcCrc, "T08", true, false, kNoUpload},
      {"no category", true, kAbcCrc, "XYZ", true, false, kNoUpload},
      {"no row", false, "", "T02", true, false, kNoUpload},
  };
  for (const auto& c : cases) {
    orbWin.execute("DELETE FROM ORBDB1_LAST_UPLOAD");
    if (c.hasRow) {
      orbWin.execute(
          "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, T02_CRC, T08_CRC, UPD_SUCCESS_NO) "
          "VALUES (:BAN, :P, :CRC, '', 'A123')",
          {{"BAN", kBan}, {"P", kPeriod}, {"CRC", c.storedT02}});
    }
    ui.shown.clear();
    EXPECT_EQ(module.CheckAgainstLastUpload(kBan, c.type, filingFile, c.show, kPeriod), c.passes)
        << c.name;
    EXPECT_EQ(ui.messages(), std::string(c.message).empty() ? std::vector<std::string>{}
                                                            : std::vector<std::string>{c.message})
        << c.name;
  }
  // The last case left no row; put one back for the success number.
  orbWin.execute(
      "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, UPD_SUCCESS_NO) "
      "VALUES (:BAN, :P, 'A123')",
      {{"BAN", kBan}, {"P", kPeriod}});
  EXPECT_EQ(module.LastUploadSuccessNo(kBan, kPeriod), "A123");
  EXPECT_EQ(module.LastUploadSuccessNo(kBan, "11303"), "");
  EXPECT_EQ(module.LastUploadSuccessNo("", kPeriod), "");
}

TEST_F(DataModuleTest, VersionTexts) {
  struct Case {
    const char* version;
    const char* text;
  };
  const Case cases[] = {{"105", "1.05"}, {"1234", "12.34"}, {"7", "0.07"},
                        {"", "0.00"},    {"1.0a", "0.00"},  {" 200 ", "2.00"}};
  for (const auto& c : cases) {
    settings.version = c.version;
    TdmATH module(orbWin, orbCode, settings, ui);
    EXPECT_EQ(module.versionNumberText(), c.text) << c.version;
    EXPECT_EQ(module.versionDateText(), "1130501");
  }
}

}  // namespace
}  // namespace athup::store
