// The receipt-files folder: gApplyTETPath is UpLoad/ApplyTET/ with its separator, and the
// period's folder below it is made, so the receipt windows find UpLoad/ApplyTET/<period>/.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_session.h"
#include "app/ini_settings_store.h"
#include "support/fixed_clock.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::app {
namespace {

namespace fs = std::filesystem;

TEST(ReceiptFolder, IsApplyTetBelowTheUploadFolderEndingWithTheSeparator) {
  athup::testing::TempDir root;
  const std::string doc = root.path().string() + "/doc/";
  fs::create_directories(doc + "DB");
  fs::create_directories(root / "bin");
  IniSettingsStore settings(root / "orb.ini");
  athup::testing::ScriptedInteraction ui;
  const athup::testing::FixedClock clock(2024, 11, 15);
  AppSession session(SessionSetup{settings, ui, clock, ProgramLocation{root / "bin", root / "bin"},
                                  doc, root / "tmp"});

  ASSERT_TRUE(session.prepareEnvironment(std::get<PeriodField>(PeriodField::fromField("113/10"))))
      << (ui.messages().empty() ? "" : ui.messages().front());

  const Folders& f = session.folders();
  EXPECT_EQ(f.gApplyTETPath, doc + "UpLoad/ApplyTET/");
  EXPECT_TRUE(fs::is_directory(f.gApplyTETPath + session.period().gDataYM + "/"));
  // Every folder value ends with the separator, so a file name can follow it directly.
  for (const std::string* folder :
       {&f.gExePath, &f.gHomePath, &f.gHelpPath, &f.gTempPath, &f.gUploadPath, &f.gBackupPath,
        &f.gReportPath, &f.gApplyTETPath, &f.gPeriodDefaultPath, &f.gUploadDefaultPath, &f.gLogPath,
        &f.gDbTxtPath, &f.gHomeUploadPath, &f.gDBPath}) {
    ASSERT_FALSE(folder->empty());
    EXPECT_EQ(folder->back(), '/') << *folder;
  }
}

}  // namespace
}  // namespace athup::app
