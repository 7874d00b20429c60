#include "common/ini_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "common/errors.h"
#include "support/temp_dir.h"

namespace athup::common {
namespace {

using Names = std::vector<std::string>;

TEST(IniFile, ReadsWindowsStyleText) {
  const auto ini = IniFile::fromText(
      "; remembered folders\r\n"
      "[OwnerPath]\r\n"
      "DbPath=C:\\Data\\T02\\\r\n"
      "  UpLoadPath  =  \"quoted\" ; kept\r\n"
      "Empty=\r\n"
      "DbPath=second is ignored\r\n"
      "\r\n"
      "[Software\\Fiscus\\Orb\\CRC]\n"  // an LF-only line among CR LF ones
      "T02=ABCDEF01\n"
      "[ownerpath]\r\n"
      "Late=shadowed section\r\n");

  EXPECT_EQ(ini.readString("OwnerPath", "DbPath"), "C:\\Data\\T02\\");
  EXPECT_EQ(ini.readString("OWNERPATH", "dbpath"), "C:\\Data\\T02\\");          // case-insensitive
  EXPECT_EQ(ini.readString("OwnerPath", "UpLoadPath"), "  \"quoted\" ; kept");  // verbatim
  EXPECT_EQ(ini.readString("OwnerPath", "Empty", "default"), "");
  EXPECT_TRUE(ini.valueExists("OwnerPath", "Empty"));
  EXPECT_EQ(ini.readString("OwnerPath", "Missing", "default"), "default");
  EXPECT_EQ(ini.readString("Nowhere", "DbPath", "d"), "d");
  EXPECT_EQ(ini.readString("software\\fiscus\\orb\\crc", "t02"), "ABCDEF01");
  EXPECT_FALSE(ini.valueExists("OwnerPath", "Late"));  // the first of two equal sections counts

  EXPECT_EQ(ini.sections(), (Names{"OwnerPath", "Software\\Fiscus\\Orb\\CRC"}));
  EXPECT_EQ(ini.keys("ownerpath"), (Names{"DbPath", "UpLoadPath", "Empty"}));
  EXPECT_TRUE(ini.keys("Nowhere").empty());
}

TEST(IniFile, WritesBackUnchangedAndEditsInPlace) {
  const std::string original =
      "; comment\r\n[OwnerPath]\r\nDbPath = "
      "D:\\Old\\\r\n\r\n[Software\\Fiscus\\Orb]\r\nDBPath=x\r\n";
  auto ini = IniFile::fromText(original);
  EXPECT_EQ(ini.text(), original);

  ini.writeString("ownerpath", "UpLoadPath",
                  "E:\\Up\\");  // new key after the last one, before the blank
  ini.writeString("OwnerPath", "dbpath", "D:\\New\\");  // existing key keeps its spelling
  ini.writeString("Software\\Fiscus\\Orb\\CRC", "T08", "1A2B");
  EXPECT_EQ(ini.text(),
            "; comment\r\n[OwnerPath]\r\nDbPath=D:\\New\\\r\nUpLoadPath=E:\\Up\\\r\n\r\n"
            "[Software\\Fiscus\\Orb]\r\nDBPath=x\r\n\r\n"
            "[Software\\Fiscus\\Orb\\CRC]\r\nT08=1A2B\r\n");

  EXPECT_TRUE(ini.deleteKey("OWNERPATH", "DBPATH"));
  EXPECT_FALSE(ini.deleteKey("OwnerPath", "DbPath"));
  EXPECT_TRUE(ini.eraseSection("software\\fiscus\\orb\\crc"));
  EXPECT_FALSE(ini.sectionExists("Software\\Fiscus\\Orb\\CRC"));
  EXPECT_TRUE(ini.sectionExists("Software\\Fiscus\\Orb"));

  const auto reread = IniFile::fromText(ini.text());
  EXPECT_EQ(reread.readString("OwnerPath", "UpLoadPath"), "E:\\Up\\");
  EXPECT_FALSE(reread.valueExists("OwnerPath", "DbPath"));
  EXPECT_EQ(reread.sections(), (Names{"OwnerPath", "Software\\Fiscus\\Orb"}));
}

TEST(IniFile, AByteOrderMarkDoesNotHideTheFirstSection) {
  const std::string withMark = "\xEF\xBB\xBF[OwnerPath]\r\nDbPath=x\r\n";
  const auto ini = IniFile::fromText(withMark);
  EXPECT_EQ(ini.readString("OwnerPath", "DbPath"), "x");
  EXPECT_EQ(ini.text(), withMark);
}

TEST(IniFile, DeletingAKeyRemovesItsShadowedDuplicates) {
  auto ini = IniFile::fromText("[S]\nK=1\nK=2\n");
  EXPECT_TRUE(ini.deleteKey("S", "K"));
  EXPECT_FALSE(ini.valueExists("S", "K"));
}

TEST(IniFile, RefusesTextsThatWouldCorruptTheFile) {
  IniFile ini;
  EXPECT_THROW(ini.writeString("S", "K", "two\r\nlines"), std::invalid_argument);
  EXPECT_THROW(ini.writeString("S", "A=B", "v"), std::invalid_argument);
  EXPECT_THROW(ini.writeString("S", "  ", "v"), std::invalid_argument);
  EXPECT_THROW(ini.writeString("S]x", "K", "v"), std::invalid_argument);
  EXPECT_THROW(ini.writeString("S", "[K", "v"), std::invalid_argument);
  EXPECT_TRUE(ini.sections().empty());
}

TEST(IniFile, SavesAtomicallyAndLoadsBack) {
  testing::TempDir dir;
  const auto path = dir / "BIN/ORBPath.ini";            // the folder is created
  EXPECT_TRUE(IniFile::load(path).sections().empty());  // a missing file reads as empty

  IniFile ini;
  ini.writeString("OwnerPath", "DbPath", "/data/營業稅/");
  ini.saveTo(path);
  EXPECT_EQ(testing::readFile(path), "[OwnerPath]\r\nDbPath=/data/營業稅/\r\n");

  ini.writeString("OwnerPath", "UpLoadPath", "/up/");
  ini.saveTo(path);
  EXPECT_EQ(IniFile::load(path).readString("OwnerPath", "UpLoadPath"), "/up/");
  // Only the file itself remains: no temporary left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "BIN"),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(IniFile, FailedSaveLeavesTheOldFile) {
  testing::TempDir dir;
  const auto path = dir.write("cfg/settings.ini", "[A]\r\nK=old\r\n");
  IniFile ini;
  ini.writeString("A", "K", "new");

  // A plain file where the parent folder should be.
  EXPECT_THROW(ini.saveTo(dir / "cfg/settings.ini/inside.ini"), Error);

  if (geteuid() != 0) {  // permissions do not bind root
    std::filesystem::permissions(
        dir / "cfg", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_THROW(ini.saveTo(path), Error);
    std::filesystem::permissions(dir / "cfg", std::filesystem::perms::owner_all);
  }
  EXPECT_EQ(testing::readFile(path), "[A]\r\nK=old\r\n");
}

TEST(IniFile, SaveKeepsTheModeOfTheFileItReplaces) {
  testing::TempDir dir;
  const auto path = dir.write("private.ini", "[A]\r\n");
  std::filesystem::permissions(
      path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  IniFile ini;
  ini.writeString("A", "K", "v");
  ini.saveTo(path);
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

}  // namespace
}  // namespace athup::common
