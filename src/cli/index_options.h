#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace athup::cli {

// The words of an index command: "--name value" or "--name=value" options, "--flag" switches and
// the remaining words in order. A name outside the ones given is a UsageError.
class IndexOptions {
 public:
  IndexOptions(const std::vector<std::string>& args, const std::set<std::string>& valueNames,
               const std::set<std::string>& flagNames);

  [[nodiscard]] std::optional<std::string> value(const std::string& name) const;
  // The value of a required option; a UsageError names it when it is missing.
  [[nodiscard]] std::string required(const std::string& name) const;
  [[nodiscard]] bool flag(const std::string& name) const { return m_flags.contains(name); }
  [[nodiscard]] const std::vector<std::string>& words() const { return m_words; }

 private:
  std::map<std::string, std::string> m_values;
  std::set<std::string> m_flags;
  std::vector<std::string> m_words;
};

}  // namespace athup::cli
