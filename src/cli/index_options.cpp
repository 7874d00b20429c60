#include "cli/index_options.h"

#include "cli/command.h"

namespace athup::cli {

IndexOptions::IndexOptions(const std::vector<std::string>& args,
                           const std::set<std::string>& valueNames,
                           const std::set<std::string>& flagNames) {
  bool wordsOnly = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (wordsOnly || !arg.starts_with("--")) {
      m_words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      wordsOnly = true;  // file names that begin with "--" follow
      continue;
    }
    const auto equals = arg.find('=');
    const std::string name =
        arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    if (flagNames.contains(name) && equals == std::string::npos) {
      m_flags.insert(name);
    } else if (valueNames.contains(name)) {
      if (equals != std::string::npos) {
        m_values[name] = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        m_values[name] = args[++i];
      } else {
        throw UsageError("--" + name + " needs a value");
      }
    } else {
      throw UsageError("unexpected argument \"" + arg + "\"");
    }
  }
}

std::optional<std::string> IndexOptions::value(const std::string& name) const {
  const auto found = m_values.find(name);
  return found == m_values.end() ? std::nullopt : std::optional<std::string>(found->second);
}

std::string IndexOptions::required(const std::string& name) const {
  const auto found = value(name);
  if (!found || found->empty()) {
    throw UsageError("--" + name + " is required");
  }
  return *found;
}

}  // namespace athup::cli
