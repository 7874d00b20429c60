// athup-cli version-check: asks the filing server which client version is current and compares
// it with this program's version record, as the version-check window does.
#include <optional>
#include <ostream>
#include <string>

#include "app/environment.h"
#include "app/ini_settings_store.h"
#include "app/program_location.h"
#include "app/settings_store.h"
#include "app/version_check.h"
#include "app/version_record.h"
#include "cli/command.h"
#include "cli/stderr_interaction.h"
#include "common/errors.h"
#include "common/file_helpers.h"

namespace athup::cli {
namespace {

constexpr int kExitUpdateNeeded = 3;

struct Options {
  std::optional<std::string> url;
  std::optional<std::string> record;
};

Options parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const auto take = [&](std::string_view flag, std::optional<std::string>& into) {
      if (args[i] == flag && i + 1 < args.size()) {
        into = args[++i];
        return true;
      }
      if (args[i].starts_with(std::string(flag) + "=")) {
        into = args[i].substr(flag.size() + 1);
        return true;
      }
      return false;
    };
    if (!take("--url", options.url) && !take("--record", options.record)) {
      throw UsageError("unexpected argument \"" + args[i] + "\"");
    }
  }
  return options;
}

int runVersionCheck(CommandContext& context) {
  const Options options = parseOptions(context.args);
  const auto environment = app::Environment::fromProcess();
  StderrInteraction interaction(context.err);
  app::IniSettingsStore settings(app::settingsFilePath(environment));

  const auto record =
      options.record
          ? common::pathFromUtf8(*options.record)
          : app::locateProgram(app::currentExecutableDir(), environment).deliveryFile("version");
  const app::VersionInfo local =
      app::loadVersionInfo(record, interaction, environment.tempFolder());

  app::VersionCheckRequest request;
  request.localVersion = local.gVersion;
  request.localVersionDate = local.gVersionDate;
  request.sslIp = settings.readString(app::kOrbKey, "ssl_ip");
  request.proxyIp = settings.readString(app::kOrbKey, "proxy_ip");
  request.proxyPort = settings.readString(app::kOrbKey, "proxy_port");
  request.caFile = settings.readString(app::kOrbKey, "ca_file");
  request.debugMode = settings.readString(app::kOrbKey, "DebugMode") == "1";
  request.checkUrlOverride = options.url;
  if (!options.url && app::getServerKind(request.sslIp) == 0) {
    throw Error(
        "The settings value ssl_ip names neither the production nor the verification "
        "receipt host, so there is no version-check address; give one with --url.");
  }

  const app::VersionCheckOutcome outcome = app::runVersionCheck(request, interaction);
  context.out << outcome.localLine << '\n'
              << outcome.onlineLine << '\n'
              << outcome.outcomeLine << '\n';
  if (!outcome.answered) {
    context.err << outcome.outcomeLine << '\n';
    return kExitFailure;
  }
  if (outcome.updateNeeded) {
    context.out << outcome.downloadUrl << '\n';
    return kExitUpdateNeeded;
  }
  return kExitOk;
}

const CommandRegistration kRegistration{Command{
    "version-check",
    "  athup-cli version-check [--url URL] [--record FILE]\n"
    "      Ask the filing server (the address ssl_ip selects, or URL) for the current client\n"
    "      version and compare it with the version record (FILE, default the program's). Prints\n"
    "      the local, online and outcome lines, then the download address when an update is\n"
    "      needed. Exit 0 up to date, 3 update needed, 1 failure.\n",
    runVersionCheck}};

}  // namespace
}  // namespace athup::cli
