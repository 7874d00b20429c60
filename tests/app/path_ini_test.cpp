#include "app/path_ini.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace athup::app {
namespace {

TEST(PathIniTest, RemembersOneFolderPerModeWhileItExists) {
  testing::TempDir dir;
  const std::string docDir = (dir / "doc").string() + "/";
  const auto imports = dir / "匯入";
  const auto uploads = dir / "uploads";
  std::filesystem::create_directories(imports);
  std::filesystem::create_directories(uploads);

  EXPECT_EQ(readPathIni(docDir, 1), "");  // no path file yet
  writePathIni(docDir, imports.string(), 1);
  writePathIni(docDir, uploads.string(), 2);
  writePathIni(docDir, "/ignored", 3);

  EXPECT_EQ(readPathIni(docDir, 1), imports.string());
  EXPECT_EQ(readPathIni(docDir, 2), uploads.string());
  EXPECT_EQ(readPathIni(docDir, 3), "");
  // The file is the filing program's Big5 INI text.
  const std::string text = testing::readFile(dir / "doc" / "BIN" / "ORBPath.ini");
  EXPECT_NE(text.find("[OwnerPath]"), std::string::npos);
  EXPECT_NE(text.find("\xB6\xD7\xA4\x4A"), std::string::npos) << "匯入 in Big5";
  EXPECT_EQ(text.find("/ignored"), std::string::npos);

  std::filesystem::remove(uploads);
  EXPECT_EQ(readPathIni(docDir, 2), "");  // a deleted folder is not offered again
  EXPECT_EQ(readPathIni(docDir, 1), imports.string());
}

}  // namespace
}  // namespace athup::app
