#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "app/app_session.h"
#include "app/app_texts.h"
#include "app/ini_settings_store.h"
#include "common/big5.h"
#include "common/errors.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/engine/database.h"
#include "support/fixed_clock.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::app {
namespace {

namespace fs = std::filesystem;
using athup::testing::ScriptedInteraction;

// A period as the period window passes it on, after its check.
PeriodField checked(std::string_view typed) {
  return std::get<PeriodField>(PeriodField::fromField(typed));
}

const std::string kTail = "！ 請確認您的磁碟機運作正常, 或該目錄尚未被設定為唯讀.";

// A workstation in a temporary folder: the program in program/bin, the shared documents in doc/
// with the database root the filing program made, the system temporary folder in tmp/.
class PrepareEnvironmentTest : public ::testing::Test {
 protected:
  PrepareEnvironmentTest()
      : m_doc(m_root.path().string() + "/doc/"),
        m_settings(m_root / "orb.ini"),
        m_clock(2024, 11, 15) {
    fs::create_directories(m_root / "program" / "bin");
    fs::create_directories(m_doc + "DB");
  }

  AppSession& session() {
    if (!m_session) {
      ProgramLocation program{m_root / "program" / "bin", m_root / "program" / "bin"};
      m_session = std::make_unique<AppSession>(
          SessionSetup{m_settings, m_ui, m_clock, program, m_doc, m_root / "tmp"});
    }
    return *m_session;
  }

  std::string runLog() {
    return common::big5ToUtf8(athup::testing::readFile(m_root / "program" / "bin" / "orb_Ath.log"));
  }

  std::vector<std::string> statuses(StatusKind kind) const {
    std::vector<std::string> texts;
    for (const auto& item : m_ui.shown) {
      if (item.what == "status" && item.kind == static_cast<int>(kind)) texts.push_back(item.text);
    }
    return texts;
  }

  athup::testing::TempDir m_root;
  std::string m_doc;
  IniSettingsStore m_settings;
  testing::FixedClock m_clock;
  ScriptedInteraction m_ui;
  std::unique_ptr<AppSession> m_session;
};

TEST_F(PrepareEnvironmentTest, FreshWorkstationGetsValuesFoldersSettingsAndTables) {
  m_settings.writeString(kOrbKey, "DebugMode", "1");
  m_settings.writeString(kNestedOrbKey, "Stale", "x");
  m_settings.writeString(std::string(kNestedOrbKey) + "\\Deeper", "Stale", "y");
  m_settings.writeString(kCrcKey, "12345678", "1F");

  ASSERT_TRUE(session().prepareEnvironment(checked("11310")));
  EXPECT_TRUE(m_ui.messages().empty());

  const Period& p = session().period();
  EXPECT_EQ(p, (Period{"11310", "11311", "1131115", true}));
  const Folders& f = session().folders();
  const std::string home = m_root.path().string() + "/program/";
  EXPECT_EQ(f.gExePath, home + "bin/");
  EXPECT_EQ(f.gHomePath, home);
  EXPECT_EQ(f.gHomeUploadPath, home + "UpLoad/");
  EXPECT_EQ(f.gHelpPath, home + "bin/Help/");
  EXPECT_EQ(f.gRunLogFile, home + "bin/orb_Ath.log");
  EXPECT_EQ(f.gTempPath, m_root.path().string() + "/tmp/");
  EXPECT_EQ(f.gUploadPath, m_doc + "UpLoad/");
  EXPECT_EQ(f.gBackupPath, m_doc + "UpLoad/ATHBackUp/11310/");
  EXPECT_EQ(f.gReportPath, m_doc + "UpLoad/ATHRpt/11310/");
  EXPECT_EQ(f.gApplyTETPath, m_doc + "UpLoad/ApplyTET/");
  EXPECT_EQ(f.gPeriodDefaultPath, m_doc + "UpLoad/Default/11310/");
  EXPECT_EQ(f.gUploadDefaultPath, m_doc + "Upload/Default/");
  EXPECT_EQ(f.gLogPath, m_doc + "Log/");
  EXPECT_EQ(f.gDbTxtPath, m_doc + "DbTxt/");
  EXPECT_EQ(f.gDBPath, m_doc + "DB/");

  for (const std::string& folder :
       std::vector<std::string>{f.gTempPath, f.gBackupPath, f.gReportPath, f.gLogPath,
                                f.gApplyTETPath + "11310", f.gDbTxtPath, f.gDBPath + "11310"}) {
    EXPECT_TRUE(fs::is_directory(folder)) << folder;
  }
  EXPECT_FALSE(fs::exists(f.gPeriodDefaultPath));  // offered by the windows, not made here

  // Settings: defaults written back, the nested key gone with what is below it, the rest kept.
  EXPECT_EQ(m_settings.readString(kOrbKey, "DBPath"), m_doc + "DB/");
  EXPECT_EQ(m_settings.readString(kOrbKey, "ORBHome"), home);
  EXPECT_FALSE(m_settings.keyExists(kNestedOrbKey));
  EXPECT_EQ(m_settings.readString(kCrcKey, "12345678"), "1F");

  // Aliases, status bar and run log.
  EXPECT_EQ(session().orbWin().folder(), fs::path(m_doc + "DB/11310/"));
  EXPECT_EQ(session().orbCode().folder(), fs::path(m_doc + "DB/CODE/"));
  EXPECT_EQ(statuses(StatusKind::Alert),
            std::vector<std::string>{"您的資料庫路徑為->" + m_doc + "DB/11310/"});
  EXPECT_EQ(statuses(StatusKind::Period), std::vector<std::string>{"申報年期:11311資料所屬:11310"});
  const std::string log = runLog();
  EXPECT_TRUE(log.starts_with("執行日期：1131115")) << log;
  EXPECT_NE(log.find("]：gDBPath=" + m_doc + "DB/\r\n"), std::string::npos) << log;

  // The five own tables, both index tables with their checksum column.
  for (const char* file : {"ORBDB_ATH_FILE.DB", "ORBDB_ATH_T02.DB", "ORBDB_ATH_T08.DB",
                           "ORBDB1_ATH_STATUS.DB", "ORBDB_ATH_TET.DB"}) {
    EXPECT_TRUE(fs::is_regular_file(m_doc + "DB/11310/" + file)) << file;
  }
  auto& db = session().orbWin();
  EXPECT_TRUE(db.query("Select * From ORBDB_ATH_T02.DB Where BAN = ''").hasField("T02_CRC"));
  EXPECT_TRUE(db.query("Select * From ORBDB_ATH_T08.DB Where BAN = ''").hasField("T08_CRC"));
}

TEST_F(PrepareEnvironmentTest, NewFoldersAreTheUsersOnlyAndOldOnesKeepTheirMode) {
  fs::create_directories(m_doc + "Log");
  fs::permissions(m_doc + "Log", fs::perms(0755), fs::perm_options::replace);

  ASSERT_TRUE(session().prepareEnvironment(checked("11310")));

  for (const std::string folder : {"UpLoad", "UpLoad/ATHBackUp", "UpLoad/ATHBackUp/11310",
                                   "UpLoad/ATHRpt/11310", "UpLoad/ApplyTET/11310", "DbTxt"}) {
    EXPECT_EQ(fs::status(m_doc + folder).permissions(), fs::perms::owner_all) << folder;
  }
  EXPECT_EQ(fs::status(m_doc + "Log").permissions(), fs::perms(0755));
  // The period's table folder is the filing program's as much as ours.
  EXPECT_NE(fs::status(m_doc + "DB/11310").permissions(), fs::perms::owner_all);
}

TEST_F(PrepareEnvironmentTest, RemovesTheTemporaryFilesAKilledRunLeft) {
  // What a killed pack left in the upload folder and a killed table creation in the period's
  // database folder, an hour and more ago; a file another instance is writing right now stays.
  const fs::path upload = m_doc + "UpLoad";
  const fs::path periodDb = m_doc + "DB/11310";
  fs::create_directories(upload);
  fs::create_directories(periodDb);
  const auto plant = [](const fs::path& path, std::chrono::minutes age) {
    std::ofstream(path) << "half";
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
  };
  plant(upload / ".athup-tmp-pack-x1", std::chrono::minutes(90));
  plant(periodDb / ".athup-tmp-ORBDB_ATH_FILE.DB.new", std::chrono::minutes(61));
  plant(upload / ".athup-tmp-pack-x2", std::chrono::minutes(1));
  plant(upload / "evidence.pdf", std::chrono::minutes(600));

  ASSERT_TRUE(session().prepareEnvironment(checked("11310")));

  EXPECT_FALSE(fs::exists(upload / ".athup-tmp-pack-x1"));
  EXPECT_FALSE(fs::exists(periodDb / ".athup-tmp-ORBDB_ATH_FILE.DB.new"));
  EXPECT_TRUE(fs::exists(upload / ".athup-tmp-pack-x2"));
  EXPECT_TRUE(fs::exists(upload / "evidence.pdf"));
}

TEST_F(PrepareEnvironmentTest, RemovesTheWorkingFoldersOfUploadsACrashEnded) {
  // Below TMP: a crashed upload's folder with its sealed copy, one of a run going on now, a link
  // and a file that only look like one; only the crashed run's folder goes.
  const fs::path work = m_root / "program" / "bin" / "TMP";
  const fs::path other = m_root / "elsewhere";
  fs::create_directories(work / ".athup-run-crash" / "inner");
  fs::create_directories(work / ".athup-run-now");
  fs::create_directories(other);
  std::ofstream(work / ".athup-run-crash" / "A01.enp") << "sealed";
  std::ofstream(work / ".athup-run-crash" / "inner" / "x") << "x";
  std::ofstream(work / ".athup-run-file") << "plain";
  std::ofstream(other / "keep") << "keep";
  fs::create_directory_symlink(other, work / ".athup-run-link");
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(120);
  for (const char* name : {".athup-run-crash", ".athup-run-file"})
    fs::last_write_time(work / name, old);

  ASSERT_TRUE(session().prepareEnvironment(checked("11310")));

  EXPECT_FALSE(fs::exists(work / ".athup-run-crash"));
  EXPECT_TRUE(fs::exists(work / ".athup-run-now"));
  EXPECT_TRUE(fs::exists(work / ".athup-run-file"));
  EXPECT_TRUE(fs::is_symlink(work / ".athup-run-link"));
  EXPECT_TRUE(fs::exists(other / "keep"));
}

TEST_F(PrepareEnvironmentTest, RemovesDecryptedReceiptsACrashLeftInTheClear) {
  const fs::path report = m_doc + "UpLoad/ATHRpt/11310";
  fs::create_directories(report);
  for (const char* name : {"1234567811311.dprn", "1234567811311.prn", "8765432111311.dprn"})
    std::ofstream(report / name) << "ORB000";
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(90);
  for (const char* name : {"1234567811311.dprn", "1234567811311.prn"})
    fs::last_write_time(report / name, old);

  ASSERT_TRUE(session().prepareEnvironment(checked("11310")));

  EXPECT_FALSE(fs::exists(report / "1234567811311.dprn"));
  EXPECT_TRUE(fs::exists(report / "1234567811311.prn"));   // the receipt file itself stays
  EXPECT_TRUE(fs::exists(report / "8765432111311.dprn"));  // a print going on right now
}

TEST_F(PrepareEnvironmentTest, DatabaseRootFromTheSettings) {
  const std::string own = m_root.path().string() + "/own-db";
  fs::create_directories(own + "/CODE");
  // The delivery's category table, in the code folder as the filing program spells it.
  m_root.write("doc/DB/code/ORBDB1_ATH_CODE.DB", "category table");
  // The installation's home, once recorded, is never replaced.
  m_settings.writeString(kOrbKey, "ORBHome", "/opt/orb/");
  struct Case {
    const char* what;
    std::optional<std::string> setting;
    std::string expected;
  };
  const Case cases[] = {
      {"absent: default written back", std::nullopt, m_doc + "DB/"},
      {"without separator", own, own + "/"},
      {"with separator", own + "/", own + "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    m_session.reset();
    if (c.setting) m_settings.writeString(kOrbKey, "DBPath", *c.setting);
    ASSERT_TRUE(session().prepareEnvironment(checked("10212")));
    EXPECT_EQ(session().folders().gDBPath, c.expected);
    EXPECT_EQ(session().period().gApplyYM, "10301");
    EXPECT_TRUE(fs::is_directory(c.expected + "10212"));
    EXPECT_EQ(m_settings.readString(kOrbKey, "DBPath"), c.setting.value_or(m_doc + "DB/"));
    EXPECT_EQ(session().readSettingPath("DBPath"), c.expected);
    EXPECT_EQ(session().readSettingPath("UploadPath"), "");
    EXPECT_EQ(m_settings.readString(kOrbKey, "ORBHome"), "/opt/orb/");
    // ORBCODE reads the code folder however it is spelt, and the category table is there.
    EXPECT_EQ(session().orbCode().folder(), fs::path(session().codeFolder()));
    EXPECT_TRUE(fs::is_regular_file(session().codeFolder() + "ORBDB1_ATH_CODE.DB"));
  }
}

TEST_F(PrepareEnvironmentTest, EachFolderFailureNamesItsFolderAndStopsThere) {
  const std::string root = m_root.path().string();
  struct Case {
    const char* blocked;  // a plain file where the folder must go, below the test folder
    std::string message;
  };
  const Case cases[] = {
      {"tmp", "無法建立上傳\"" + root + "/tmp/\"目錄" + kTail},
      {"doc/UpLoad", "無法建立上傳\"" + m_doc + "UpLoad/\"目錄" + kTail},
      {"doc/UpLoad/ATHBackUp",
       "無法建立附件上傳備份目錄\"" + m_doc + "UpLoad/ATHBackUp/10201/\"" + kTail},
      {"doc/UpLoad/ATHRpt",
       "無法建立附件上傳備份目錄\"" + m_doc + "UpLoad/ATHRpt/10201/\"" + kTail},
      {"doc/Log", "無法建立整批申報訊息檔目錄\"" + m_doc + "Log/\"" + kTail},
      {"doc/UpLoad/ApplyTET",
       "無法建立申報回執聯檔目錄\"" + m_doc + "UpLoad/ApplyTET/10201\"" + kTail},
      {"doc/DbTxt", "無法建立資料轉檔目錄\"" + m_doc + "DbTxt/\"" + kTail},
      {"doc/DB", "無法建立資料表\"" + m_doc + "DB/10201\"目錄" + kTail},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.blocked);
    athup::testing::TempDir fresh;  // each case on its own workstation
    const std::string doc = fresh.path().string() + "/doc/";
    fs::create_directories(doc + "DB");
    fs::remove_all(fresh / c.blocked);
    fresh.write(c.blocked, "not a folder");
    ScriptedInteraction ui;
    IniSettingsStore settings(fresh / "orb.ini");
    AppSession session(SessionSetup{
        settings, ui, m_clock, ProgramLocation{fresh / "bin", fresh / "bin"}, doc, fresh / "tmp"});

    EXPECT_FALSE(session.prepareEnvironment(checked("10201")));

    std::string expected = c.message;
    for (std::size_t at; (at = expected.find(root)) != std::string::npos;) {
      expected.replace(at, root.size(), fresh.path().string());
    }
    ASSERT_EQ(ui.messages(), std::vector<std::string>{expected});
    EXPECT_EQ(ui.shown.back().kind, static_cast<int>(MessageKind::Error));
    EXPECT_FALSE(session.isPrepared());
    EXPECT_FALSE(session.orbWin().isOpen());  // later steps did not run
    EXPECT_FALSE(fs::exists(doc + "DB/10201/ORBDB_ATH_FILE.DB"));
  }
}

TEST_F(PrepareEnvironmentTest, SecondPeriodLeavesTheFirstUntouched) {
  ASSERT_TRUE(session().prepareEnvironment(checked("11310")));
  session().orbWin().execute(
      "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, SUB_SEQ) VALUES ('12345678', 'T02000001', '0')");
  fs::path backup = fs::path(session().folders().gBackupPath) / "sent.pdf";
  { std::ofstream(backup) << "pdf"; }

  ASSERT_TRUE(session().prepareEnvironment(checked("11312")));

  EXPECT_EQ(session().period().gApplyYM, "11401");
  EXPECT_EQ(session().orbWin().folder(), fs::path(m_doc + "DB/11312/"));
  EXPECT_TRUE(fs::is_regular_file(m_doc + "DB/11312/ORBDB_ATH_TET.DB"));
  EXPECT_TRUE(fs::is_directory(m_doc + "UpLoad/ATHRpt/11312"));
  EXPECT_TRUE(fs::is_regular_file(backup));
  store::Database previous;
  previous.open("OLD", m_doc + "DB/11310/");
  EXPECT_EQ(previous.query("SELECT * FROM ORBDB_ATH_FILE").recordCount(), 1u);
  EXPECT_EQ(session().orbWin().query("SELECT * FROM ORBDB_ATH_FILE").recordCount(), 0u);
  // The run log was started again: one database line, from the second preparation.
  const std::string log = runLog();
  EXPECT_EQ(log.find("gDBPath="), log.rfind("gDBPath="));
}

TEST_F(PrepareEnvironmentTest, FailedChangeKeepsThePreviousPeriodInForce) {
  ASSERT_TRUE(session().prepareEnvironment(checked("11310")));
  const Period before = session().period();
  const Folders foldersBefore = session().folders();

  struct Case {
    const char* what;
    const char* blocked;  // below the database root
    const char* content;
  };
  const Case cases[] = {
      {"before the aliases move: the period folder cannot be made", "11311", "file"},
      {"after the aliases moved: an index table that is not a table", "11312/ORBDB_ATH_T02.DB",
       "this is not a table file at all, long enough to be read as one"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path blocked = fs::path(m_doc + "DB") / c.blocked;
    fs::create_directories(blocked.parent_path());
    { std::ofstream(blocked) << c.content; }
    m_ui.shown.clear();
    const std::string period = fs::path(c.blocked).begin()->string();

    EXPECT_FALSE(session().prepareEnvironment(checked(period)));

    EXPECT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(session().period(), before);
    EXPECT_EQ(session().folders(), foldersBefore);
    EXPECT_EQ(session().orbWin().folder(), fs::path(m_doc + "DB/11310/"));
    EXPECT_EQ(session().orbCode().folder(), fs::path(m_doc + "DB/CODE/"));
    const auto periodLines = statuses(StatusKind::Period);
    if (!periodLines.empty()) {
      EXPECT_EQ(periodLines.back(), "申報年期:11311資料所屬:11310");
    }
  }
}

TEST_F(PrepareEnvironmentTest, TableThatCannotBeMadeIsReportedAndPreparationGoesOn) {
  fs::create_directories(m_doc + "DB/11310/ORBDB_ATH_FILE.DB");  // a folder in the table's place

  EXPECT_TRUE(session().prepareEnvironment(checked("11310")));

  EXPECT_EQ(m_ui.messages(),
            std::vector<std::string>{"找不到資料檔:" + m_doc + "DB/11310/ORBDB_ATH_FILE.DB"});
  EXPECT_EQ(m_ui.shown.back().kind, static_cast<int>(MessageKind::Plain));
  EXPECT_TRUE(fs::is_regular_file(m_doc + "DB/11310/ORBDB_ATH_TET.DB"));
}

TEST_F(PrepareEnvironmentTest, DataModuleStartsOnThePreparedAliases) {
  {
    fs::create_directories(m_doc + "DB/CODE");
    store::Database code;
    code.open("ORBCODE", m_doc + "DB/CODE/");
    for (const auto table : store::codeFolderTables()) store::createFilingProgramTable(code, table);
    code.execute("INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30) VALUES (:BAN, :NM)",
                 {{"BAN", std::string("04595257")}, {"NM", std::string("測試商行")}});
  }
  ASSERT_TRUE(session().prepareEnvironment(checked("11310")));

  DataQueries& module = session().createDataModule();

  EXPECT_EQ(session().dataModule(), &module);
  EXPECT_EQ(&session().queries(), &module);
  EXPECT_EQ(module.athDb().folder(), module.orbCode().folder());
  const auto taxpayer = module.taxpayers().findTaxpayer("04595257");
  ASSERT_TRUE(taxpayer.has_value());
  EXPECT_EQ(taxpayer->BAN_NM_X30, "測試商行");
}

TEST_F(PrepareEnvironmentTest, DataModuleWithoutTaxpayerMasterFailsWithTheEngineError) {
  ASSERT_TRUE(session().prepareEnvironment(checked("11310")));

  EXPECT_THROW((void)session().createDataModule(), Error);
  EXPECT_EQ(session().dataModule(), nullptr);
  // A window asking for the lookups afterwards is told why it cannot have them.
  EXPECT_FALSE(session().dataAvailable());
  try {
    (void)session().queries();
    ADD_FAILURE() << "the lookups of a failed start were handed out";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), texts::kDataNotAvailable);
  }
}

}  // namespace
}  // namespace athup::app
