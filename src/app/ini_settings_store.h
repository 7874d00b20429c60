#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "app/environment.h"
#include "app/settings_store.h"

namespace athup::app {

// The settings store on an INI file per user: a key's own values are the section named by its
// full path ("[Software\Fiscus\Orb]"), a sub-key is the section of its longer path
// ("[Software\Fiscus\Orb\CRC]"). The file is read afresh by every call and saved atomically by
// every write, so a crash never loses more than the write in progress.
class IniSettingsStore final : public SettingsStore {
 public:
  explicit IniSettingsStore(std::filesystem::path file);

  [[nodiscard]] std::string readString(std::string_view keyPath,
                                       std::string_view name) const override;
  void writeString(std::string_view keyPath, std::string_view name,
                   std::string_view value) override;
  void deleteSubKey(std::string_view keyPath) override;
  [[nodiscard]] bool keyExists(std::string_view keyPath) const override;

  [[nodiscard]] const std::filesystem::path& file() const { return m_file; }

 private:
  std::filesystem::path m_file;
};

// The settings file: ATHUP_SETTINGS when set (tests, scripts and the demo never touch the user's
// real file), else $XDG_CONFIG_HOME/fiscus/orb.ini with XDG_CONFIG_HOME defaulting to ~/.config.
[[nodiscard]] std::filesystem::path settingsFilePath(const Environment& environment);

}  // namespace athup::app
