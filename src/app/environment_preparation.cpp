// The period window's confirmation: fixes the period values, resolves and creates the folder
// tree, reads and fixes the settings, restarts the run log, points the database aliases at the
// period and makes sure the program's own tables exist.
#include <exception>
#include <filesystem>
#include <system_error>

#include "app/app_session.h"
#include "app/app_texts.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/period_helpers.h"
#include "common/private_folder.h"
#include "common/run_log.h"
#include "common/stale_temporary_files.h"
#include "store/catalogue/ath_code_install.h"
#include "store/catalogue/own_tables.h"

namespace athup::app {

struct AppSession::Prepared {
  Period period;
  Folders folders;
  bool aliasesMoved = false;
};

namespace {

using common::withTrailingSeparator;
constexpr char kSep = common::kPathSeparator;

// Folder values are UTF-8 texts; paths are made from them and back only through the UTF-8
// helpers, so a folder with Chinese characters is the same folder on every platform.
std::filesystem::path asFolderPath(const std::string& folder) {
  const std::filesystem::path path = common::pathFromUtf8(folder);
  return path.has_filename() ? path : path.parent_path();
}

// Creates the folder with every missing parent, readable by this user only (folders that exist keep
// their mode); true when it is a folder afterwards (a plain file in the way counts as a failure).
bool forceFolder(const std::string& folder) {
  const auto path = asFolderPath(folder);
  try {
    common::createPrivateFolder(path);
  } catch (const Error&) {
    // the check below is the answer
  }
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// Creates only the last level; the answer is whether the folder exists afterwards. A folder made
// here holds the user's documents, backups or reports: only this user may enter it.
bool makeFolder(const std::string& folder, bool privateFolder = true) {
  std::error_code error;
  const auto path = asFolderPath(folder);
  if (std::filesystem::create_directory(path, error) && privateFolder) {
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, error);
  }
  return std::filesystem::is_directory(path, error);
}

std::string folderFailure(std::string_view prefix, const std::string& folder, bool sayFolder) {
  std::string text(prefix);
  text += '"';
  text += folder;
  text += '"';
  if (sayFolder) text += texts::kFolderWord;
  text += texts::kFolderSuffix;
  return text;
}

}  // namespace

bool AppSession::prepareEnvironment(const PeriodField& period) {
  Prepared next;
  bool prepared = false;
  try {
    prepared = prepareSteps(period.dataYM(), next);
  } catch (const Error& error) {
    m_setup.interaction.showMessage(MessageKind::Error, error.what());
  } catch (const SilentAbort&) {
    // the failing step has shown its message
  } catch (const StoppedByUser&) {
    pointAliasesBack(next);
    throw;
  } catch (const std::exception& error) {
    m_setup.interaction.showMessage(MessageKind::Error, error.what());
  }
  if (!prepared) {
    pointAliasesBack(next);
    return false;
  }
  m_period = std::move(next.period);
  m_folders = std::move(next.folders);
  return true;
}

bool AppSession::prepareSteps(std::string_view dataYM, Prepared& next) {
  auto& ui = m_setup.interaction;
  const auto& clock = m_setup.clock;
  auto& settings = m_setup.settings;
  const auto fail = [&](std::string_view prefix, const std::string& folder, bool sayFolder) {
    ui.showMessage(MessageKind::Error, folderFailure(prefix, folder, sayFolder));
    return false;
  };

  // Period values.
  Period& period = next.period;
  period.gDataYM = std::string(dataYM);
  period.gApplyYM = common::monthsToYM(common::ymToMonths(dataYM) + 1);
  period.gToday = common::rocToday(clock);

  // Folders of the program, the shared documents and the default database root.
  Folders& f = next.folders;
  const auto exeDir = asFolderPath(common::utf8FromPath(m_setup.program.exeDir));
  const std::string& docDir = m_setup.docDir;
  f.gExePath = withTrailingSeparator(common::utf8FromPath(exeDir));
  f.gHomePath = withTrailingSeparator(common::utf8FromPath(exeDir.parent_path()));
  f.gUploadPath = docDir + "UpLoad" + kSep;
  f.gLogPath = docDir + "Log" + kSep;
  f.gApplyTETPath = f.gUploadPath + "ApplyTET" + kSep;
  f.gDbTxtPath = docDir + "DbTxt" + kSep;
  f.gHomeUploadPath = f.gHomePath + "UpLoad" + kSep;
  f.gUploadDefaultPath = docDir + "Upload" + kSep + "Default" + kSep;
  f.gTempPath = withTrailingSeparator(common::utf8FromPath(m_setup.tempDir));
  f.gHelpPath = withTrailingSeparator(common::utf8FromPath(m_setup.program.deliveryFile("Help")));
  const std::string defaultDbRoot = docDir + "DB" + kSep;

  // A new run log for this preparation.
  const auto runLog = m_setup.program.writableDir / "orb_Ath.log";
  f.gRunLogFile = common::utf8FromPath(runLog);
  common::startRunLog(runLog, clock);

  // The period's own folders below the upload folder.
  f.gPeriodDefaultPath = f.gUploadPath + "Default" + kSep + period.gDataYM + kSep;
  f.gBackupPath = f.gUploadPath + "ATHBackUp" + kSep + period.gDataYM + kSep;
  f.gReportPath = f.gUploadPath + "ATHRpt" + kSep + period.gDataYM + kSep;

  // Settings.
  settings.deleteSubKey(kNestedOrbKey);
  if (settings.readString(kOrbKey, "ORBHome").empty()) {
    settings.writeString(kOrbKey, "ORBHome", f.gHomePath);
  }
  if (const std::string dbPath = settings.readString(kOrbKey, "DBPath"); dbPath.empty()) {
    f.gDBPath = defaultDbRoot;
    settings.writeString(kOrbKey, "DBPath", f.gDBPath);
  } else {
    f.gDBPath = withTrailingSeparator(dbPath);
  }
  period.gDebugMode = settings.readString(kOrbKey, "DebugMode") == "1";
  common::appendRunLog(runLog, std::string(texts::kRunLogDbPath) + f.gDBPath, clock);

  // The folder tree; the database root itself must already exist.
  if (!forceFolder(f.gTempPath)) return fail(texts::kUploadFolderPrefix, f.gTempPath, true);
  if (!forceFolder(f.gUploadPath)) return fail(texts::kUploadFolderPrefix, f.gUploadPath, true);
  makeFolder(f.gUploadPath + "ATHBackUp");
  if (!makeFolder(f.gBackupPath)) return fail(texts::kBackupFolderPrefix, f.gBackupPath, false);
  makeFolder(f.gUploadPath + "ATHRpt");
  if (!makeFolder(f.gReportPath)) return fail(texts::kBackupFolderPrefix, f.gReportPath, false);
  if (!forceFolder(f.gLogPath)) return fail(texts::kLogFolderPrefix, f.gLogPath, false);
  const std::string receiptFolder = f.gApplyTETPath + period.gDataYM;
  if (!forceFolder(receiptFolder)) return fail(texts::kReceiptFolderPrefix, receiptFolder, false);
  if (!forceFolder(f.gDbTxtPath)) return fail(texts::kDbTxtFolderPrefix, f.gDbTxtPath, false);
  const std::string periodDbFolder = f.gDBPath + period.gDataYM;
  if (!makeFolder(periodDbFolder, false))
    return fail(texts::kTableFolderPrefix, periodDbFolder, true);

  // Temporary files that a killed save, pack or table creation left in our folders.
  for (const std::string& folder : {f.gTempPath, f.gUploadPath, f.gBackupPath, f.gReportPath,
                                    receiptFolder, f.gDbTxtPath, periodDbFolder}) {
    (void)common::removeStaleTemporaryFiles(common::pathFromUtf8(folder));
  }
  // Working folders of uploads and queries, and decrypted receipts, that a crash or a kill left.
  (void)common::removeStaleWorkFolders(m_setup.program.writableDir / "TMP");
  (void)common::removeStaleDecodedReceipts(common::pathFromUtf8(f.gReportPath));

  // Aliases.
  next.aliasesMoved = true;
  connectPeriodDatabases(periodDbFolder + kSep, codeFolderBelow(f.gDBPath), period);

  // Own tables (missing ones reported, not fatal), migrations, the category table.
  for (const auto& missing :
       store::preparePeriodTables(m_orbWin, store::CatalogueLog{runLog, clock})) {
    ui.showMessage(MessageKind::Plain,
                   std::string(texts::kTableFileMissing) + common::utf8FromPath(missing));
  }
  store::migrateOwnTables(m_orbWin);
  store::installCategoryTable(readSettingPath("DBPath"), common::pathFromUtf8(docDir));
  return true;
}

void AppSession::pointAliasesBack(const Prepared& next) {
  if (!next.aliasesMoved) return;
  try {
    if (isPrepared()) {
      connectPeriodDatabases(periodDatabaseFolder(), codeFolder(), m_period);
    } else {
      m_orbWin.close();
      m_orbCode.close();
    }
  } catch (const Error& error) {
    m_setup.interaction.showMessage(MessageKind::Error, error.what());
  }
}

}  // namespace athup::app
