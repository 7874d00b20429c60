#include "app/ini_settings_store.h"

#include <stdexcept>

#include "common/ascii.h"
#include "common/errors.h"
#include "common/ini_file.h"

namespace athup::app {
namespace {

// "\Software\Fiscus\Orb\" and "Software\Fiscus\Orb" name the same key.
std::string_view keySection(std::string_view keyPath) {
  while (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
  while (!keyPath.empty() && keyPath.back() == '\\') keyPath.remove_suffix(1);
  return keyPath;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return common::equalsIgnoringAsciiCase(a, b);
}

// The section of the key itself or of a key beneath it.
bool isAtOrBelow(std::string_view section, std::string_view key) {
  section = keySection(section);
  if (section.size() < key.size() || !equalsIgnoringCase(section.substr(0, key.size()), key)) {
    return false;
  }
  return section.size() == key.size() || section[key.size()] == '\\';
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::filesystem::path file) : m_file(std::move(file)) {}

std::string IniSettingsStore::readString(std::string_view keyPath, std::string_view name) const {
  return common::IniFile::load(m_file).readString(keySection(keyPath), name);
}

void IniSettingsStore::writeString(std::string_view keyPath, std::string_view name,
                                   std::string_view value) {
  auto ini = common::IniFile::load(m_file);
  try {
    ini.writeString(keySection(keyPath), name, value);
  } catch (const std::invalid_argument&) {
    throw Error("設定值無法儲存: " + std::string(name));
  }
  ini.saveTo(m_file);
}

void IniSettingsStore::deleteSubKey(std::string_view keyPath) {
  const auto key = keySection(keyPath);
  if (key.empty()) return;  // never wipe the whole file through an empty path
  auto ini = common::IniFile::load(m_file);
  bool changed = false;
  for (const auto& section : ini.sections()) {
    if (isAtOrBelow(section, key)) changed = ini.eraseSection(section) || changed;
  }
  if (changed) ini.saveTo(m_file);
}

bool IniSettingsStore::keyExists(std::string_view keyPath) const {
  const auto key = keySection(keyPath);
  for (const auto& section : common::IniFile::load(m_file).sections()) {
    if (isAtOrBelow(section, key)) return true;
  }
  return false;
}

std::filesystem::path settingsFilePath(const Environment& environment) {
  if (auto file = environment.variable("ATHUP_SETTINGS"); !file.empty()) return file;
  std::filesystem::path base = environment.variable("XDG_CONFIG_HOME");
  if (base.empty()) base = environment.homeFolder() / ".config";
  return base / "fiscus" / "orb.ini";
}

}  // namespace athup::app
