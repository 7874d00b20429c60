#include "app/app_session.h"

#include "app/app_texts.h"
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

store::TdmATH& AppSession::createDataModule() {
  const auto setting = [this](std::string_view name) {
    return m_setup.settings.readString(kOrbKey, name);
  };
  store::DataModuleSettings values;
  values.proxyIp = setting("proxy_ip");
  values.proxyPort = setting("proxy_port");
  values.athUpd = setting("ath_upd");
  values.dbPath = common::pathFromUtf8(m_folders.gDBPath);
  values.exeDir = m_setup.program.writableDir;  // "TMP" is written beside the program
  values.workingFolder = std::filesystem::current_path();
  values.version = m_version.gVersion;
  values.versionDate = m_version.gVersionDate;

  auto module = std::make_unique<store::TdmATH>(m_orbWin, m_orbCode, std::move(values),
                                                m_setup.interaction);
  module->DataModuleCreate();
  m_dataModule = std::move(module);
  return *m_dataModule;
}

void AppSession::loadVersion() {
  m_version = loadVersionInfo(m_setup.program.deliveryFile("version"), m_setup.interaction,
                              m_setup.tempDir);
}

}  // namespace athup::app
