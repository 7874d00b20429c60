// athup-cli prepare: the period window's confirmation without the window. Prepares the folders,
// settings, run log and tables of a filing period on this workstation's configured places and
// prints the period and folder values.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "app/app_session.h"
#include "app/environment.h"
#include "app/ini_settings_store.h"
#include "app/period_field.h"
#include "app/period_input.h"
#include "app/program_location.h"
#include "app/shared_doc_dir.h"
#include "cli/command.h"
#include "cli/stderr_interaction.h"
#include "common/clock.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/interaction.h"

namespace athup::cli {
namespace {

std::optional<std::string> parsePeriod(const std::vector<std::string>& args) {
  std::optional<std::string> period;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--period" && i + 1 < args.size()) {
      period = args[++i];
    } else if (args[i].starts_with("--period=")) {
      period = args[i].substr(9);
    } else {
      throw UsageError("unexpected argument \"" + args[i] + "\"");
    }
  }
  return period;
}

void printValues(std::ostream& out, const app::AppSession& session) {
  const auto& p = session.period();
  const auto& f = session.folders();
  const std::pair<const char*, const std::string*> lines[] = {
      {"gDataYM", &p.gDataYM},
      {"gApplyYM", &p.gApplyYM},
      {"gToday", &p.gToday},
      {"DocDir", &session.docDir()},
      {"gExePath", &f.gExePath},
      {"gHomePath", &f.gHomePath},
      {"gHelpPath", &f.gHelpPath},
      {"gRunLogFile", &f.gRunLogFile},
      {"gTempPath", &f.gTempPath},
      {"gUploadPath", &f.gUploadPath},
      {"gBackupPath", &f.gBackupPath},
      {"gReportPath", &f.gReportPath},
      {"gApplyTETPath", &f.gApplyTETPath},
      {"gPeriodDefaultPath", &f.gPeriodDefaultPath},
      {"gUploadDefaultPath", &f.gUploadDefaultPath},
      {"gLogPath", &f.gLogPath},
      {"gDbTxtPath", &f.gDbTxtPath},
      {"gHomeUploadPath", &f.gHomeUploadPath},
      {"gDBPath", &f.gDBPath},
  };
  for (const auto& [name, value] : lines) out << name << '=' << *value << '\n';
  out << "gDebugMode=" << (p.gDebugMode ? 1 : 0) << '\n';
}

// The database root is the one folder the preparation does not make; when it is missing, say where
// it is looked for, after the preparation's own message.
void explainMissingRoot(std::ostream& err, const app::AppSession& session,
                        const std::filesystem::path& settingsFile) {
  const std::string configured = session.readSettingPath("DBPath");
  const std::string root = configured.empty() ? session.docDir() + "DB/" : configured;
  std::error_code error;
  if (std::filesystem::is_directory(common::pathFromUtf8(root), error)) return;
  err << "The database root \"" << root << "\" does not exist. It is DBPath in the settings ("
      << common::utf8FromPath(settingsFile) << ") when set, else the shared documents folder's DB ("
      << session.docDir() << "DB/).\n";
}

int runPrepare(CommandContext& context) {
  const auto typed = parsePeriod(context.args);
  const auto environment = app::Environment::fromProcess();
  const SystemClock clock;
  const auto checked = app::PeriodField::fromField(typed ? *typed : app::defaultPeriod(clock));
  if (const auto* problem = std::get_if<std::string>(&checked)) throw Error(*problem);

  StderrInteraction interaction(context.err);
  const auto settingsFile = app::settingsFilePath(environment);
  app::IniSettingsStore settings(settingsFile);
  app::AppSession session(app::SessionSetup{
      settings, interaction, clock, app::locateProgram(app::currentExecutableDir(), environment),
      app::sharedDocDir(environment), environment.tempFolder()});
  if (!session.prepareEnvironment(std::get<app::PeriodField>(checked))) {
    explainMissingRoot(context.err, session, settingsFile);
    throw SilentAbort();
  }
  printValues(context.out, session);
  return kExitOk;
}

const CommandRegistration kRegistration{Command{
    "prepare",
    "  athup-cli prepare [--period YYY/MM]\n"
    "      Prepare the filing period (default: last month) in the shared documents folder:\n"
    "      folders, settings (ATHUP_SETTINGS or ~/.config/fiscus/orb.ini), run log and tables;\n"
    "      print one name=value line per period and folder value.\n",
    runPrepare}};

}  // namespace
}  // namespace athup::cli
