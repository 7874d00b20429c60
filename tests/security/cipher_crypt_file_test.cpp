#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "security/cipher/crypt_file.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::security {
namespace {

std::set<std::string> namesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

constexpr const char* kPlain = "[Version]\r\nnow=105\r\n[VersionDate]\r\ndate=1080315\r\n";

TEST(CryptFile, InPlaceBothWaysLeavesNoTmpFile) {
  testing::TempDir dir;
  testing::ScriptedInteraction ui;
  const auto file = dir.write("version", kPlain);
  for (const char* mode : {"E", "e"}) {
    ASSERT_TRUE(cryptFileWithPassword(ui, file, file, mode, "12345678"));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"version"});
    EXPECT_EQ(testing::readFile(file).size(), 8 + 16 + std::string(kPlain).size());
    ASSERT_TRUE(cryptFileWithPassword(ui, file, file, mode[0] == 'E' ? "D" : "d", "12345678"));
    EXPECT_EQ(testing::readFile(file), kPlain);
  }
  EXPECT_TRUE(ui.shown.empty());
}

TEST(CryptFile, VersionRecordPassword) {
  testing::TempDir dir;
  testing::ScriptedInteraction ui;
  const auto plain = dir.write("plain.ini", kPlain);
  ASSERT_TRUE(cryptFileByMode(ui, plain, dir / "version", "E"));
  ASSERT_TRUE(cryptFileByMode(ui, dir / "version", dir / "version.ini", "D"));
  EXPECT_EQ(testing::readFile(dir / "version.ini"), kPlain);
  // The same file under another password is refused.
  EXPECT_FALSE(cryptFileWithPassword(ui, dir / "version", dir / "other.ini", "D", "12345678"));
  EXPECT_EQ(ui.messages(), std::vector<std::string>{"密碼錯誤或資料異常"});
}

TEST(CryptFile, FailuresShowTheirTextAndTouchNothing) {
  testing::TempDir dir;
  const auto plain = dir.write("plain.txt", kPlain);
  const auto tiny = dir.write("tiny.txt", "1234");
  struct Case {
    std::filesystem::path source;
    std::filesystem::path destination;
    const char* mode;
    const char* message;
  };
  const Case cases[] = {
      {plain, dir / "out", "X", "需定義加解密方式"},
      {plain, dir / "out", "", "需定義加解密方式"},
      {plain, dir / "out", "ED", "需定義加解密方式"},
      {dir / "none", dir / "out", "E", "來源檔案不存在!!"},
      {tiny, tiny, "E", "來源資料資料異常(資料量不足)!!"},
      {plain, plain, "D", "來源資料資料可能毀損(CRC ERROR)!!"},
      {plain, dir / "out", "d", "來源資料資料可能毀損(CRC ERROR)!!"},
  };
  for (const auto& c : cases) {
    testing::ScriptedInteraction ui;
    EXPECT_FALSE(cryptFileByMode(ui, c.source, c.destination, c.mode)) << c.message;
    EXPECT_EQ(ui.messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"plain.txt", "tiny.txt"})) << c.message;
    EXPECT_EQ(testing::readFile(plain), kPlain);
    EXPECT_EQ(testing::readFile(tiny), "1234");
  }
}

TEST(CryptFile, SameFileThroughAnotherSpellingIsReplacedInPlace) {
  testing::TempDir dir;
  testing::ScriptedInteraction ui;
  const auto file = dir.write("sub/receipt.prn", kPlain);
  const auto other = dir.path() / "sub" / ".." / "sub" / "receipt.prn";
  ASSERT_TRUE(cryptFileWithPassword(ui, file, other, "E", "12345678"));
  ASSERT_TRUE(cryptFileWithPassword(ui, other, file, "D", "12345678"));
  EXPECT_EQ(testing::readFile(file), kPlain);
  EXPECT_EQ(namesIn(dir / "sub"), std::set<std::string>{"receipt.prn"});
}

}  // namespace
}  // namespace athup::security
