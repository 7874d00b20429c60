#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athup::cli {

// A secret taken from the command line. --password-file F reads the first line of F and
// --password - the first line of standard input (both without the line's CR/LF); --password P
// takes P itself, which every local user can read in the process list, so commands that carry
// account secrets leave that form out.
class PasswordOption {
 public:
  enum class Forms { WithArgument, FileAndStdinOnly };

  explicit PasswordOption(Forms forms = Forms::WithArgument) : m_forms(forms) {}

  // Takes args[i] (and the value after it) when it is one of the option's forms and moves i past
  // them; false for any other word. Throws UsageError for a missing value, a refused form or a
  // second password.
  bool take(const std::vector<std::string>& args, std::size_t& i);

  [[nodiscard]] bool given() const { return m_kind != Kind::None; }

  // The secret; reads the file or standard input now. Throws UsageError when no password was
  // given and athup::Error when the file or standard input holds no line.
  [[nodiscard]] std::string read(std::istream& in) const;

  // The option's lines for a command's --help.
  [[nodiscard]] static std::string_view helpLines(Forms forms = Forms::WithArgument);

 private:
  enum class Kind { None, Argument, File, Stdin };

  void set(Kind kind, std::string value);

  Forms m_forms;
  Kind m_kind = Kind::None;
  std::string m_value;  // the password itself or the file's name
};

}  // namespace athup::cli
