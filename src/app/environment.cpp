#include "app/environment.h"

#include <cstdlib>
#include <system_error>

namespace athup::app {
namespace {

// Everything the application asks of the environment; captured once so the rest reads a value.
constexpr std::string_view kKnownVariables[] = {
    "ALLUSERSPROFILE", "PUBLIC",         "windir",         "HOME",   "USERPROFILE",
    "XDG_CONFIG_HOME", "XDG_STATE_HOME", "ATHUP_SETTINGS", "TMPDIR",
};

}  // namespace

Environment Environment::fromProcess() {
  Environment environment;
  for (std::string_view name : kKnownVariables) {
    if (const char* value = std::getenv(std::string(name).c_str()); value != nullptr) {
      environment.setVariable(name, value);
    }
  }
#ifdef _WIN32
  environment.setHomeFolder(environment.variable("USERPROFILE"));
#else
  environment.setHomeFolder(environment.variable("HOME"));
#endif
  std::error_code error;
  auto temp = std::filesystem::temp_directory_path(error);
  environment.setTempFolder(error ? std::filesystem::path("/tmp") : temp);
  return environment;
}

std::string Environment::variable(std::string_view name) const {
  const auto found = m_variables.find(name);
  return found == m_variables.end() ? std::string() : found->second;
}

void Environment::setVariable(std::string_view name, std::string_view value) {
  m_variables.insert_or_assign(std::string(name), std::string(value));
}

void Environment::unsetVariable(std::string_view name) {
  if (const auto found = m_variables.find(name); found != m_variables.end()) {
    m_variables.erase(found);
  }
}

}  // namespace athup::app
