#include "cli/password_option.h"

#include <fstream>
#include <istream>

#include "cli/command.h"
#include "common/errors.h"
#include "common/file_helpers.h"

namespace athup::cli {
namespace {

// The first line without its end: LF, CR LF or (last line) nothing. nullopt when there is none.
std::optional<std::string> firstLine(std::istream& in) {
  std::string line;
  if (!std::getline(in, line) && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

bool PasswordOption::take(const std::vector<std::string>& args, std::size_t& i) {
  const std::string& arg = args[i];
  std::string_view name;
  std::optional<std::string> value;
  for (std::string_view option : {"--password-file", "--password"}) {
    if (arg == option) {
      if (i + 1 >= args.size()) throw UsageError(std::string(option) + " needs a value");
      name = option;
      value = args[++i];
      break;
    }
    if (arg.size() > option.size() && arg.starts_with(option) && arg[option.size()] == '=') {
      name = option;
      value = arg.substr(option.size() + 1);
      break;
    }
  }
  if (!value) return false;
  if (name == "--password-file") {
    set(Kind::File, *value);
  } else if (*value == "-") {
    set(Kind::Stdin, {});
  } else if (m_forms == Forms::FileAndStdinOnly) {
    throw UsageError("--password takes only \"-\" here; use --password-file F or --password -");
  } else {
    set(Kind::Argument, *value);
  }
  return true;
}

void PasswordOption::set(Kind kind, std::string value) {
  if (m_kind != Kind::None) throw UsageError("give the password once");
  m_kind = kind;
  m_value = std::move(value);
}

std::string PasswordOption::read(std::istream& in) const {
  switch (m_kind) {
    case Kind::None:
      throw UsageError("--password or --password-file is required");
    case Kind::Argument:
      return m_value;
    case Kind::Stdin: {
      if (auto line = firstLine(in)) return *line;
      throw Error("no password on standard input");
    }
    case Kind::File:
      break;
  }
  std::ifstream file(common::pathFromUtf8(m_value), std::ios::binary);
  if (!file) throw Error("cannot read the password file \"" + m_value + "\"");
  if (auto line = firstLine(file)) return *line;
  throw Error("the password file \"" + m_value + "\" is empty");
}

std::string_view PasswordOption::helpLines(Forms forms) {
  if (forms == Forms::FileAndStdinOnly) {
    return "      The password is the first line of --password-file F, or of standard input with\n"
           "      --password -.\n";
  }
  return "      The password is the first line of --password-file F, or of standard input with\n"
         "      --password -; --password P is visible to other local users (process list).\n";
}

}  // namespace athup::cli
