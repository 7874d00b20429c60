#include <gtest/gtest.h>

#include "app/environment.h"
#include "app/ini_settings_store.h"
#include "support/temp_dir.h"

namespace athup::app {
namespace {

TEST(IniSettingsStoreTest, ValuesLiveInTheSectionOfTheirKeyAndSurviveANewStore) {
  testing::TempDir dir;
  const auto file = dir / "cfg" / "orb.ini";
  {
    IniSettingsStore store(file);
    EXPECT_EQ(store.readString(kOrbKey, "DBPath"), "");  // absent file, absent value
    store.writeString(kOrbKey, "DBPath", "/data/db/");
    store.writeString(kCrcKey, "12345678", "ABC");
  }
  const std::string text = testing::readFile(file);
  EXPECT_NE(text.find("[Software\\Fiscus\\Orb]\r\nDBPath=/data/db/"), std::string::npos) << text;
  EXPECT_NE(text.find("[Software\\Fiscus\\Orb\\CRC]"), std::string::npos) << text;

  IniSettingsStore again(file);
  // A leading "\" and another letter case address the same key and value.
  EXPECT_EQ(again.readString("\\SOFTWARE\\Fiscus\\Orb", "dbpath"), "/data/db/");
  EXPECT_EQ(again.readString(kCrcKey, "12345678"), "ABC");
}

TEST(IniSettingsStoreTest, DeleteSubKeyRemovesItAndEverythingBeneathButNothingBeside) {
  testing::TempDir dir;
  IniSettingsStore store(dir / "orb.ini");
  store.writeString(kOrbKey, "ORBHome", "/opt/orb/");
  store.writeString(kCrcKey, "a", "1");
  store.writeString("Software\\Fiscus\\Orb\\CRC\\Deeper\\Still", "b", "2");
  store.writeString("Software\\Fiscus\\Orb\\CRCX", "c", "3");  // a sibling sharing the prefix

  store.deleteSubKey("software\\fiscus\\orb\\crc");

  EXPECT_FALSE(store.keyExists(kCrcKey));
  EXPECT_FALSE(store.keyExists("Software\\Fiscus\\Orb\\CRC\\Deeper\\Still"));
  EXPECT_EQ(store.readString("Software\\Fiscus\\Orb\\CRCX", "c"), "3");
  EXPECT_EQ(store.readString(kOrbKey, "ORBHome"), "/opt/orb/");
  // Deleting an absent key is no error and changes nothing.
  EXPECT_NO_THROW(store.deleteSubKey(kCrcKey));
  EXPECT_EQ(store.readString(kOrbKey, "ORBHome"), "/opt/orb/");
}

TEST(IniSettingsStoreTest, SettingsFileComesFromAthupSettingsThenXdgThenHome) {
  Environment environment;
  environment.setHomeFolder("/home/u");
  EXPECT_EQ(settingsFilePath(environment), std::filesystem::path("/home/u/.config/fiscus/orb.ini"));
  environment.setVariable("XDG_CONFIG_HOME", "/xdg");
  EXPECT_EQ(settingsFilePath(environment), std::filesystem::path("/xdg/fiscus/orb.ini"));
  environment.setVariable("ATHUP_SETTINGS", "/tmp/other.ini");
  EXPECT_EQ(settingsFilePath(environment), std::filesystem::path("/tmp/other.ini"));
}

}  // namespace
}  // namespace athup::app
