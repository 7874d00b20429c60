#include "app/startup_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/lookup_reports.h"
#include "common/errors.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/engine/database.h"
#include "store/queries/last_upload_queries.h"
#include "store/queries/taxpayer_queries.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::app {
namespace {

namespace fs = std::filesystem;
using athup::testing::ScriptedInteraction;
using athup::testing::TempDir;

constexpr const char* kBan = "12345678";
constexpr const char* kPeriod = "11305";
constexpr const char* kAbcCrc = "932BC606";  // the file checksum of "abc"

// The filing program's code folder and last-upload table for one taxpayer.
class StartupChecksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dbPath / "CODE");
    fs::create_directories(dbPath / kPeriod);
    orbCode.open("ORBCODE", dbPath / "CODE");
    orbWin.open("ORBWIN", dbPath / kPeriod);
    for (const auto table : store::codeFolderTables()) {
      store::createFilingProgramTable(orbCode, table);
    }
    store::createFilingProgramTable(orbWin, store::kLastUploadTable);
    orbCode.execute("INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30) VALUES (:BAN, '商行')",
                    {{"BAN", kBan}});
    places.dbPath = dbPath;
    places.exeDir = dir / "bin";
    places.workingFolder = dir / "work";
    fs::create_directories(places.workingFolder);
  }

  TempDir dir;
  fs::path dbPath = dir / "DB";
  store::Database orbWin;
  store::Database orbCode;
  store::Database athDb;
  StartupPlaces places;
  ScriptedInteraction ui;
};

TEST_F(StartupChecksTest, ClearsLocksBindsAthDbAndPreparesTheTempFolder) {
  const auto lock = dir.write("work/PARADOX.LCK", "x");
  const auto users = dir.write("work/PDOXUSRS.LCK", "x");
  StartupChecks checks(orbCode, athDb, places, ui);
  checks.run();
  EXPECT_FALSE(fs::exists(lock));
  EXPECT_FALSE(fs::exists(users));
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(checks.tempFolder(), dir / "bin" / "TMP");
  EXPECT_TRUE(fs::is_directory(dir / "bin" / "TMP"));
  EXPECT_EQ(athDb.folder(), dbPath / "CODE");
  EXPECT_EQ(athDb.query("SELECT COUNT(*) N FROM ORBDB1_APPLYER").number("N"), 1.0);
}

TEST_F(StartupChecksTest, ReportsEachMissingCodeTableAndGoesOn) {
  fs::remove(dbPath / "CODE" / "ORBDB1_ERROR.DB");
  fs::remove(dbPath / "CODE" / "ORBDB1_AgentContact.DB");
  dir.write("bin/TMP", "a file where the folder should be");
  StartupChecks(orbCode, athDb, places, ui).run();
  const std::string code = (dbPath / "CODE").string() + "/";
  EXPECT_EQ(ui.messages(),
            (std::vector<std::string>{"找不到資料檔:" + code + "ORBDB1_ERROR.DB",
                                      "找不到資料檔:" + code + "ORBDB1_AgentContact.DB",
                                      "無法建立暫存檔目錄"}));

  // Without the taxpayer master the start fails with the engine's error.
  fs::remove(dbPath / "CODE" / "ORBDB1_APPLYER.DB");
  store::Database freshCode;
  freshCode.open("ORBCODE", dbPath / "CODE");
  store::Database freshAthDb;
  EXPECT_THROW(StartupChecks(freshCode, freshAthDb, places, ui).run(), Error);
}

TEST_F(StartupChecksTest, AMissingTaxpayerIsReportedOnTheStatusBarThenInABox) {
  store::TaxpayerQueries taxpayers(orbCode);
  ASSERT_TRUE(findTaxpayerOrReport(taxpayers, ui, kBan).has_value());
  EXPECT_TRUE(ui.shown.empty());

  EXPECT_FALSE(findTaxpayerOrReport(taxpayers, ui, "99999999").has_value());
  ASSERT_EQ(ui.shown.size(), 2U);
  EXPECT_EQ(ui.shown[0].what, "status");
  EXPECT_EQ(ui.shown[0].text, "找不到營業人建檔資料");
  EXPECT_EQ(ui.messages(), std::vector<std::string>{"找不到營業人建檔資料"});
}

TEST_F(StartupChecksTest, FilingFileChecksSayWhyTheyFail) {
  const auto filingFile = dir.write("upload/12345678.T02", "abc");
  store::LastUploadQueries lastUploads(orbWin);
  const char* kDifferent = "申報檔位置的檔案不是申報上傳的檔案，請重新輸入!";
  const char* kNoUpload = "請先執行營業稅申報上傳後，再執行附件上傳的設定!";
  struct Case {
    const char* name;
    bool hasRow;
    const char* storedT02;
    bool show;
    bool passes;
    const char* message;  // "" for none
  };
  const Case cases[] = {
      {"equal", true, kAbcCrc, true, true, ""},
      {"different", true, "932BC607", true, false, kDifferent},
      {"different, quiet", true, "932BC607", false, false, ""},
      {"no row", false, "", true, false, kNoUpload},
      {"no row, quiet", false, "", false, false, ""},
  };
  for (const auto& c : cases) {
    orbWin.execute("DELETE FROM ORBDB1_LAST_UPLOAD");
    if (c.hasRow) {
      orbWin.execute(
          "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, T02_CRC) VALUES (:BAN, :P, :CRC)",
          {{"BAN", kBan}, {"P", kPeriod}, {"CRC", c.storedT02}});
    }
    ui.shown.clear();
    EXPECT_EQ(checkAgainstLastUpload(lastUploads, ui, kBan, "T02", filingFile, c.show, kPeriod),
              c.passes)
        << c.name;
    EXPECT_EQ(ui.messages(), std::string(c.message).empty() ? std::vector<std::string>{}
                                                            : std::vector<std::string>{c.message})
        << c.name;
  }
}

}  // namespace
}  // namespace athup::app
