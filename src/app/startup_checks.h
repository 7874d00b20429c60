#pragma once

#include <filesystem>

#include "common/interaction.h"
#include "store/engine/database.h"

namespace athup::app {

// The places the start-up checks work on.
struct StartupPlaces {
  std::filesystem::path dbPath;         // gDBPath: the database root folder
  std::filesystem::path exeDir;         // folder the program writes beside itself ("TMP" goes here)
  std::filesystem::path workingFolder;  // where stale engine lock files are removed
};

// What the program checks once its period is prepared, before the lookups are handed out.
class StartupChecks {
 public:
  StartupChecks(store::Database& orbCode, store::Database& athDb, StartupPlaces places,
                Interaction& ui);

  // Removes stale engine lock files from the working folder, binds ATH_DB to the code folder,
  // reports each missing code table with "找不到資料檔:" + path (and goes on), checks that the
  // taxpayer master opens (the engine's error propagates when it does not), and creates the
  // temporary folder, showing "無法建立暫存檔目錄" when it cannot.
  void run();

  // exeDir / "TMP", where index documents and archives are packed.
  [[nodiscard]] std::filesystem::path tempFolder() const;

 private:
  store::Database& m_orbCode;
  store::Database& m_athDb;
  StartupPlaces m_places;
  Interaction& m_ui;
};

}  // namespace athup::app
