#include "support/workstation_environment.h"

#include <cstdlib>

namespace athup::testing {

WorkstationEnvironment::WorkstationEnvironment(const std::filesystem::path& folder) {
  for (const char* name : {"HOME", "ATHUP_SETTINGS", "TMPDIR", "ALLUSERSPROFILE", "PUBLIC",
                           "windir", "XDG_CONFIG_HOME"}) {
    const char* value = std::getenv(name);
    m_saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
    unsetenv(name);
  }
  setenv("HOME", (folder / "home").c_str(), 1);
  setenv("ATHUP_SETTINGS", (folder / "settings.ini").c_str(), 1);
  setenv("TMPDIR", (folder / "tmp").c_str(), 1);
  std::filesystem::create_directories(folder / "tmp");
}

WorkstationEnvironment::~WorkstationEnvironment() {
  for (const auto& [name, value] : m_saved) {
    if (value)
      setenv(name.c_str(), value->c_str(), 1);
    else
      unsetenv(name.c_str());
  }
}

}  // namespace athup::testing
