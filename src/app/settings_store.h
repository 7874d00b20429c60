#pragma once

#include <string>
#include <string_view>

namespace athup::app {

// The settings key of the current user and the sub-keys the program touches. Key paths use "\"
// between their parts whatever the platform; a leading "\" and the letter case do not matter.
inline constexpr std::string_view kOrbKey = "Software\\Fiscus\\Orb";
inline constexpr std::string_view kCrcKey = "Software\\Fiscus\\Orb\\CRC";
// A key of the same name nested below the settings key, left by old installations.
inline constexpr std::string_view kNestedOrbKey = "Software\\Fiscus\\Orb\\Software\\Fiscus\\Orb";

// The per-user settings: keys holding string values, keys nested below keys. An absent key or
// value reads as empty, so every reader may treat the key as created if missing.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  [[nodiscard]] virtual std::string readString(std::string_view keyPath,
                                               std::string_view name) const = 0;
  // Stores the value at once; a failure to save raises athup::Error.
  virtual void writeString(std::string_view keyPath, std::string_view name,
                           std::string_view value) = 0;
  // Removes the key with every value and every key beneath it; an absent key is no error.
  virtual void deleteSubKey(std::string_view keyPath) = 0;
  [[nodiscard]] virtual bool keyExists(std::string_view keyPath) const = 0;
};

}  // namespace athup::app
