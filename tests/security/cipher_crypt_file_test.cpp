#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "common/errors.h"
#include "security/cipher/crypt_file.h"
#include "security/cipher/receipt_file_cipher.h"
#include "security/cipher/upload_cipher.h"
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

// The text of the athup::Error a call raises, or a marker when it raises none.
std::string errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& e) {
    return e.what();
  }
  return "<no error>";
}

constexpr const char* kPlain = "[Version]\r\nnow=105\r\n[VersionDate]\r\ndate=1080315\r\n";

TEST(CryptFile, InPlaceBothWaysLeavesNoTmpFile) {
  testing::TempDir dir;
  const auto file = dir.write("version", kPlain);
  cryptFileWithPassword(file, file, CryptMode::Encrypt, "12345678");
  EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"version"});
  EXPECT_EQ(testing::readFile(file).size(), 8 + 16 + std::string(kPlain).size());
  cryptFileWithPassword(file, file, CryptMode::Decrypt, "12345678");
  EXPECT_EQ(testing::readFile(file), kPlain);
}

TEST(CryptFile, VersionRecordPassword) {
  testing::TempDir dir;
  const auto plain = dir.write("plain.ini", kPlain);
  cryptFileByMode(plain, dir / "version", CryptMode::Encrypt);
  cryptFileByMode(dir / "version", dir / "version.ini", CryptMode::Decrypt);
  EXPECT_EQ(testing::readFile(dir / "version.ini"), kPlain);
  // The same file under another password is refused.
  EXPECT_EQ(errorOf([&] {
              cryptFileWithPassword(dir / "version", dir / "other.ini", CryptMode::Decrypt,
                                    "12345678");
            }),
            "密碼錯誤或資料異常");
}

TEST(CryptFile, FailuresRaiseTheirTextAndTouchNothing) {
  testing::TempDir dir;
  const auto plain = dir.write("plain.txt", kPlain);
  const auto tiny = dir.write("tiny.txt", "1234");
  struct Case {
    std::filesystem::path source;
    std::filesystem::path destination;
    CryptMode mode;
    const char* message;
  };
  const Case cases[] = {
      {dir / "none", dir / "out", CryptMode::Encrypt, "來源檔案不存在!!"},
      {tiny, tiny, CryptMode::Encrypt, "來源資料資料異常(資料量不足)!!"},
      {plain, plain, CryptMode::Decrypt, "來源資料資料可能毀損(CRC ERROR)!!"},
      {plain, dir / "out", CryptMode::Decrypt, "來源資料資料可能毀損(CRC ERROR)!!"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(errorOf([&] { cryptFileByMode(c.source, c.destination, c.mode); }), c.message);
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"plain.txt", "tiny.txt"})) << c.message;
    EXPECT_EQ(testing::readFile(plain), kPlain);
    EXPECT_EQ(testing::readFile(tiny), "1234");
  }
}

TEST(CryptFile, SameFileThroughAnotherSpellingIsReplacedInPlace) {
  testing::TempDir dir;
  const auto file = dir.write("sub/receipt.prn", kPlain);
  const auto other = dir.path() / "sub" / ".." / "sub" / "receipt.prn";
  cryptFileWithPassword(file, other, CryptMode::Encrypt, "12345678");
  cryptFileWithPassword(other, file, CryptMode::Decrypt, "12345678");
  EXPECT_EQ(testing::readFile(file), kPlain);
  EXPECT_EQ(namesIn(dir / "sub"), std::set<std::string>{"receipt.prn"});
}

// Both ciphers hash the password's Big5 bytes: a character Big5 has no code for is refused
// before anything is written, and the message never repeats it.
TEST(CryptFile, PasswordCharactersBigFiveCannotHoldAreRefusedUnshown) {
  testing::TempDir dir;
  const auto plain = dir.write("plain.txt", std::string(64, 'p'));
  const std::string passwords[] = {"abcd😀efgh", "abcdefgh\xE2\x82", "한국abcdefgh"};
  const std::pair<const char*, std::function<void(const std::string&)>> ciphers[] = {
      {"receipt file",
       [&](const std::string& pw) {
         cryptFileWithPassword(plain, dir / "out", CryptMode::Encrypt, pw);
       }},
      {"upload cipher",
       [&](const std::string& pw) {
         UploadCipher cipher;
         cipher.setPassword(pw);
         cipher.encryptFile(plain);
       }},
  };
  for (const auto& [name, run] : ciphers) {
    for (const std::string& pw : passwords) {
      SCOPED_TRACE(std::string(name) + " " + pw);
      const std::string error = errorOf([&] { run(pw); });
      EXPECT_EQ(error, "密碼含有無法使用的字元");
      EXPECT_FALSE(std::filesystem::exists(dir / "out"));
    }
    // a password Big5 holds still works
    EXPECT_EQ(errorOf([&] { run("密碼abcd1234"); }), "<no error>") << name;
    std::filesystem::remove(dir / "out");
  }
}

}  // namespace
}  // namespace athup::security
