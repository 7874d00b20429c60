#include "app/app_session.h"

#include "app/app_texts.h"
#include "app/startup_checks.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "store/engine/table_files.h"

namespace athup::app {

AppSession::AppSession(SessionSetup setup) : m_setup(std::move(setup)) {}

void AppSession::connectPeriodDatabases(const std::string& periodDbFolder,
                                        const std::string& codeFolder, const Period& period) {
  for (auto [database, alias, folder] : {std::tuple{&m_orbWin, "ORBWIN", &periodDbFolder},
                                         std::tuple{&m_orbCode, "ORBCODE", &codeFolder}}) {
    if (database->isOpen()) {
      database->reconnect(common::pathFromUtf8(*folder));
    } else {
      database->open(alias, common::pathFromUtf8(*folder));
    }
  }
  auto& ui = m_setup.interaction;
  ui.showStatus(StatusKind::Alert, std::string(texts::kDatabaseFolderStatus) + periodDbFolder);
  ui.showStatus(StatusKind::Period, std::string(texts::kApplyPeriodStatus) + period.gApplyYM +
                                        std::string(texts::kDataPeriodStatus) + period.gDataYM);
}

std::string AppSession::readSettingPath(std::string_view name) const {
  const std::string value = m_setup.settings.readString(kOrbKey, name);
  return value.empty() ? std::string() : common::withTrailingSeparator(value);
}

std::string AppSession::periodDatabaseFolder() const {
  return common::withTrailingSeparator(m_folders.gDBPath + m_period.gDataYM);
}

std::string AppSession::codeFolder() const {
  return codeFolderBelow(m_folders.gDBPath);
}

std::string AppSession::codeFolderBelow(const std::string& dbPath) {
  // The filing program's folder may be spelt "code" as well; a case-sensitive file system must
  // still find it.
  return common::withTrailingSeparator(
      common::utf8FromPath(store::resolveFolderIgnoringCase(common::pathFromUtf8(dbPath), "CODE")));
}

DataQueries& AppSession::createDataModule() {
  m_dataModule.reset();
  auto queries = std::make_unique<DataQueries>(m_orbWin, m_orbCode);
  StartupPlaces places;
  places.dbPath = common::pathFromUtf8(m_folders.gDBPath);
  places.exeDir = m_setup.program.writableDir;  // "TMP" is written beside the program
  places.workingFolder = std::filesystem::current_path();
  StartupChecks(m_orbCode, queries->athDb(), std::move(places), m_setup.interaction).run();
  m_dataModule = std::move(queries);
  return *m_dataModule;
}

DataQueries& AppSession::queries() {
  if (!m_dataModule) {
    throw Error(std::string(texts::kDataNotAvailable));
  }
  return *m_dataModule;
}

void AppSession::loadVersion() {
  m_version = loadVersionInfo(m_setup.program.deliveryFile("version"), m_setup.interaction,
                              m_setup.tempDir);
}

}  // namespace athup::app
