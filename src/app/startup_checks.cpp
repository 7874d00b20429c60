#include "app/startup_checks.h"

#include <string>
#include <system_error>

#include "app/app_texts.h"
#include "common/file_helpers.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/engine/lock_files.h"
#include "store/engine/table_files.h"

namespace athup::app {

namespace fs = std::filesystem;

StartupChecks::StartupChecks(store::Database& orbCode, store::Database& athDb, StartupPlaces places,
                             Interaction& ui)
    : m_orbCode(orbCode), m_athDb(athDb), m_places(std::move(places)), m_ui(ui) {}

fs::path StartupChecks::tempFolder() const {
  return m_places.exeDir / "TMP";
}

void StartupChecks::run() {
  store::removeStaleLockFiles(m_places.workingFolder);

  // ATH_DB reaches the code folder by the path of ORBCODE.
  m_athDb.open("ATH_DB", m_orbCode.folder());

  const fs::path codeFolder = store::resolveFolderIgnoringCase(m_places.dbPath, "CODE");
  for (const std::string_view table : {store::kCodeTable, store::kErrorTable, store::kApplyerTable,
                                       store::kInvoWordTable, store::kAgentContactTable}) {
    if (store::findTableFile(codeFolder, table).empty()) {
      m_ui.showMessage(MessageKind::Plain, std::string(texts::kTableFileMissing) +
                                               common::utf8FromPath(m_places.dbPath / "CODE" /
                                                                    store::tableFileName(table)));
    }
  }

  // Opening the taxpayer master: a missing table fails here with the engine's message.
  (void)m_orbCode.query("SELECT * FROM \"" + store::tableFileName(store::kApplyerFileTable) +
                        "\" WHERE 1 = 0");

  std::error_code error;
  fs::create_directories(tempFolder(), error);
  if (!fs::is_directory(tempFolder(), error)) {
    m_ui.showMessage(MessageKind::Plain, std::string(texts::kTempFolderFailed));
  }
}

}  // namespace athup::app
