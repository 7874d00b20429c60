#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "app/data_queries.h"
#include "app/folders.h"
#include "app/period.h"
#include "app/period_field.h"
#include "app/program_location.h"
#include "app/settings_store.h"
#include "app/version_record.h"
#include "common/clock.h"
#include "common/interaction.h"
#include "store/engine/database.h"

namespace athup::app {

// What a session is built on: the ports and the places it was started with.
struct SessionSetup {
  SettingsStore& settings;
  Interaction& interaction;
  const Clock& clock;
  ProgramLocation program;
  std::string docDir;             // shared documents folder, ending with the separator
  std::filesystem::path tempDir;  // the system temporary folder
};

// The running application without its windows: the period and folder values, the version values
// and the two database aliases of the period (ORBWIN) and the code tables (ORBCODE). Windows read
// the values from here; the period window confirms through prepareEnvironment.
class AppSession {
 public:
  explicit AppSession(SessionSetup setup);
  AppSession(const AppSession&) = delete;
  AppSession& operator=(const AppSession&) = delete;

  // Prepares everything for the period the period window accepted: period
  // values, folders, settings, run log, database aliases and the own tables. Returns false after
  // showing the error of the failing step. The values are replaced only by a preparation that
  // succeeds, and a failure after the aliases were re-pointed points them back, so the values
  // and the aliases always agree on the period (a failed change from the menu keeps the previous
  // period in force).
  [[nodiscard]] bool prepareEnvironment(const PeriodField& period);

  // Points ORBWIN and ORBCODE at the folders and shows the database folder (alert slot) and the
  // period line for the given period values.
  void connectPeriodDatabases(const std::string& periodDbFolder, const std::string& codeFolder,
                              const Period& period);

  // The settings value with the separator added; empty when the value is empty.
  [[nodiscard]] std::string readSettingPath(std::string_view name) const;

  [[nodiscard]] bool isPrepared() const { return !m_period.gDataYM.empty(); }
  [[nodiscard]] const Period& period() const { return m_period; }
  [[nodiscard]] const Folders& folders() const { return m_folders; }
  [[nodiscard]] const std::string& docDir() const { return m_setup.docDir; }
  [[nodiscard]] const ProgramLocation& program() const { return m_setup.program; }
  [[nodiscard]] SettingsStore& settings() const { return m_setup.settings; }
  [[nodiscard]] const Clock& clock() const { return m_setup.clock; }

  // gDBPath + gDataYM + separator, and gDBPath + "CODE" + separator.
  [[nodiscard]] std::string periodDatabaseFolder() const;
  [[nodiscard]] std::string codeFolder() const;
  [[nodiscard]] static std::string codeFolderBelow(const std::string& dbPath);

  [[nodiscard]] const VersionInfo& version() const { return m_version; }
  // Reads the version record beside the program (start-up, before the splash).
  void loadVersion();

  [[nodiscard]] store::Database& orbWin() { return m_orbWin; }
  [[nodiscard]] store::Database& orbCode() { return m_orbCode; }

  // Runs the start-up checks over the prepared aliases (start-up, after the period is prepared)
  // and makes the shared lookups available for the rest of the run. The engine's error for a
  // missing taxpayer master propagates to the caller, and the lookups stay unavailable.
  DataQueries& createDataModule();
  // The lookups, or nullptr before createDataModule succeeded.
  [[nodiscard]] DataQueries* dataModule() { return m_dataModule.get(); }
  // Whether the lookups are available; a window that needs them refuses to open otherwise.
  [[nodiscard]] bool dataAvailable() const { return m_dataModule != nullptr; }
  // The lookups; raises athup::Error with a message the user can act on when the start-up checks
  // failed or never ran, so no window goes on with nothing behind it.
  [[nodiscard]] DataQueries& queries();

 private:
  struct Prepared;
  [[nodiscard]] bool prepareSteps(std::string_view dataYM, Prepared& next);
  void pointAliasesBack(const Prepared& next);

  SessionSetup m_setup;
  Period m_period;
  Folders m_folders;
  VersionInfo m_version;
  store::Database m_orbWin;
  store::Database m_orbCode;
  std::unique_ptr<DataQueries> m_dataModule;  // declared after the aliases it uses
};

}  // namespace athup::app
