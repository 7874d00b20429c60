#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace athup::cli {

// Exit codes every command keeps: scripts rely on them.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct CommandContext {
  std::vector<std::string> args;  // the words after the command name
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// Thrown for wrong arguments; the runner prints the message and the command's usage, exits 2.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

struct Command {
  std::string_view name;   // first word, such as "crc" or "archive"
  std::string_view usage;  // the lines of --help for it, without the program name
  int (*run)(CommandContext&);
};

// Each command file registers itself with one static instance of this.
class CommandRegistration {
 public:
  explicit CommandRegistration(Command command);
};

// Runs one invocation (argv without the program name). athup::Error and other failures print
// their message on err and give 1; UsageError gives 2.
int runCli(const std::vector<std::string>& argv, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace athup::cli
