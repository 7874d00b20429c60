#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace athup::app {

// The parts of the process environment the application reads: a few variables, the user's home
// folder and the system temporary folder. A value, so tests build one with their own folders
// instead of changing the real environment.
class Environment {
 public:
  // Captures the variables the application uses, HOME (USERPROFILE on Windows) and the system
  // temporary folder.
  [[nodiscard]] static Environment fromProcess();

  // The variable's text; empty when it is unset.
  [[nodiscard]] std::string variable(std::string_view name) const;
  void setVariable(std::string_view name, std::string_view value);
  void unsetVariable(std::string_view name);

  [[nodiscard]] const std::filesystem::path& homeFolder() const { return m_home; }
  void setHomeFolder(std::filesystem::path home) { m_home = std::move(home); }

  [[nodiscard]] const std::filesystem::path& tempFolder() const { return m_temp; }
  void setTempFolder(std::filesystem::path temp) { m_temp = std::move(temp); }

 private:
  std::map<std::string, std::string, std::less<>> m_variables;
  std::filesystem::path m_home;
  std::filesystem::path m_temp;
};

}  // namespace athup::app
