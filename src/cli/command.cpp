#include "cli/command.h"

#include <algorithm>
#include <exception>
#include <istream>
#include <map>
#include <ostream>

#include "app/version_banner.h"
#include "common/errors.h"

namespace athup::cli {
namespace {

std::map<std::string_view, Command>& registry() {
  static std::map<std::string_view, Command> commands;
  return commands;
}

void printHelp(std::ostream& out) {
  out << "athup-cli: evidence attachments of a VAT return, without windows\n\nUsage:\n";
  for (const auto& [name, command] : registry()) {
    out << command.usage;
    if (!command.usage.empty() && command.usage.back() != '\n') out << '\n';
  }
  out << "  athup-cli --help\n      Print this text.\n"
         "  athup-cli --version\n      Print the program's version and version date.\n"
         "\nExit codes: 0 success, 1 failure (message on standard error), "
         "2 usage error.\n";
}

}  // namespace

CommandRegistration::CommandRegistration(Command command) {
  registry().emplace(command.name, command);
}

int runCli(const std::vector<std::string>& argv, std::istream& in, std::ostream& out,
           std::ostream& err) {
  if (argv.empty()) {
    printHelp(err);
    return kExitUsage;
  }
  if (argv[0] == "--help" || argv[0] == "-h" || argv[0] == "help") {
    printHelp(out);
    return kExitOk;
  }
  if (argv[0] == "--version") {
    out << app::versionBannerOfThisProgram("athup-cli", ATHUP_PROJECT_VERSION);
    return kExitOk;
  }
  const auto found = registry().find(argv[0]);
  if (found == registry().end()) {
    err << "athup-cli: unknown command \"" << argv[0] << "\"; see athup-cli --help\n";
    return kExitUsage;
  }
  const Command& command = found->second;
  CommandContext context{std::vector<std::string>(argv.begin() + 1, argv.end()), in, out, err};
  if (std::find(context.args.begin(), context.args.end(), "--help") != context.args.end()) {
    out << "Usage:\n" << command.usage;
    return kExitOk;
  }
  try {
    return command.run(context);
  } catch (const UsageError& e) {
    err << "athup-cli " << command.name << ": " << e.what() << "\nUsage:\n" << command.usage;
    return kExitUsage;
  } catch (const SilentAbort&) {
    return kExitFailure;
  } catch (const std::exception& e) {
    err << e.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace athup::cli
