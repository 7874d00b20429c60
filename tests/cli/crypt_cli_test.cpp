#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "cli_run.h"
#include "support/temp_dir.h"

namespace athup::cli {
namespace {

std::string sample(std::size_t length) {
  std::string data;
  for (std::size_t i = 0; i < length; ++i) data.push_back(static_cast<char>(i * 13 + 1));
  return data;
}

// A path as the UTF-8 argument a caller passes.
std::string utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path below(const testing::TempDir& dir, std::string_view utf8Name) {
  return dir.path() / std::u8string(utf8Name.begin(), utf8Name.end());
}

TEST(CryptCli, EachCipherRoundTripsThroughFiles) {
  testing::TempDir dir;
  // Chinese names: the arguments are UTF-8 on every platform
  {
    std::ofstream file(below(dir, "收據.txt"), std::ios::binary);
    file << sample(200);
  }
  const std::string plain = utf8(below(dir, "收據.txt"));
  const std::string sealed = utf8(below(dir, "收據.prn"));
  const std::string back = utf8(below(dir, "還原.txt"));
  const std::vector<std::vector<std::string>> pairs[] = {
      {{"encrypt", "--password", "12345678", plain, sealed},
       {"decrypt", "--password=12345678", sealed, back}},
      {{"receipt-file", "encrypt", "--password", "12345678", plain, sealed},
       {"receipt-file", "decrypt", "--password", "12345678", sealed, back}},
      {{"version-file", "encrypt", plain, sealed}, {"version-file", "decrypt", sealed, back}},
  };
  std::vector<std::string> encrypted;
  for (const auto& pair : pairs) {
    const CliResult first = runCaptured(pair[0]);
    ASSERT_EQ(first.code, kExitOk) << pair[0][0] << first.err;
    encrypted.push_back(testing::readFile(below(dir, "收據.prn")));
    const CliResult second = runCaptured(pair[1]);
    ASSERT_EQ(second.code, kExitOk) << pair[1][0] << second.err;
    EXPECT_EQ(testing::readFile(below(dir, "還原.txt")), sample(200)) << pair[0][0];
    EXPECT_TRUE(first.err.empty() && second.err.empty());
  }
  EXPECT_EQ(encrypted[0].size(), 224u);   // 16 * (floor(208 / 16) + 1)
  EXPECT_EQ(encrypted[1].size(), 224u);   // 8 + 16 + 200
  EXPECT_NE(encrypted[1], encrypted[2]);  // another password
}

TEST(CryptCli, FailuresPrintTheTextAndExitOne) {
  testing::TempDir dir;
  const std::string small = dir.write("small", sample(20)).string();
  const std::string out = (dir / "out").string();
  struct Case {
    std::vector<std::string> argv;
    const char* text;
  };
  const Case cases[] = {
      {{"encrypt", "--password", "12345678", small, out}, "Data is not enough!!\n"},
      {{"decrypt", "--password", "1234567", small, out}, "Encry Data length error!!\n"},
      {{"receipt-file", "decrypt", "--password", "12345678", small, out},
       "來源資料資料可能毀損(CRC ERROR)!!\n"},
      {{"version-file", "decrypt", small, out}, "來源資料資料可能毀損(CRC ERROR)!!\n"},
      {{"version-file", "encrypt", (dir / "none").string(), out}, "來源檔案不存在!!\n"},
  };
  for (const auto& c : cases) {
    const CliResult result = runCaptured(c.argv);
    EXPECT_EQ(result.code, kExitFailure) << c.text;
    EXPECT_EQ(result.err, c.text);
    EXPECT_FALSE(std::filesystem::exists(out)) << c.text;
  }
}

// The upload cipher is deterministic, so every way of giving the same password seals alike.
TEST(CryptCli, PasswordFromAFileOrStandardInputIsItsFirstLine) {
  testing::TempDir dir;
  const std::string plain = dir.write("plain", sample(100)).string();
  const std::string sealed = (dir / "sealed").string();
  ASSERT_EQ(runCaptured({"encrypt", "--password", "12345678", plain, sealed}).code, kExitOk);
  const std::string expected = testing::readFile(sealed);
  const std::string lf = dir.write("lf", "12345678\nsecond line\n").string();
  const std::string crlf = dir.write("crlf", "12345678\r\n").string();
  const std::string bare = dir.write("bare", "12345678").string();
  struct Case {
    std::vector<std::string> options;
    std::string input;
  } cases[] = {
      {{"--password-file", lf}, ""},      {{"--password-file=" + crlf}, ""},
      {{"--password-file", bare}, ""},    {{"--password", "-"}, "12345678\nthe rest is not read\n"},
      {{"--password=-"}, "12345678\r\n"}, {{"--password", "-"}, "12345678"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options[0] + " " + c.input);
    std::filesystem::remove(sealed);
    std::vector<std::string> argv{"encrypt"};
    argv.insert(argv.end(), c.options.begin(), c.options.end());
    argv.insert(argv.end(), {plain, sealed});
    const CliResult result = runCaptured(argv, c.input);
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(testing::readFile(sealed), expected);
  }
  // A password with a trailing blank is another password: only the line end is cut.
  dir.write("blank", "12345678 \n");
  ASSERT_EQ(
      runCaptured({"encrypt", "--password-file", (dir / "blank").string(), plain, sealed}).code,
      kExitOk);
  EXPECT_NE(testing::readFile(sealed), expected);
}

TEST(CryptCli, MissingPasswordSourcesFailAndHelpWarnsAboutTheVisibleForm) {
  testing::TempDir dir;
  const std::string plain = dir.write("plain", sample(100)).string();
  const std::string out = (dir / "out").string();
  const std::string empty = dir.write("empty", "").string();
  const struct {
    std::vector<std::string> argv;
    std::string input;
    int code;
    std::string err;
  } cases[] = {
      {{"encrypt", "--password-file", (dir / "none").string(), plain, out},
       "",
       kExitFailure,
       "cannot read the password file"},
      {{"encrypt", "--password-file", empty, plain, out}, "", kExitFailure, "is empty"},
      {{"receipt-file", "encrypt", "--password", "-", plain, out},
       "",
       kExitFailure,
       "no password on standard input"},
      {{"decrypt", "--password", "1", "--password-file", empty, plain, out},
       "",
       kExitUsage,
       "give the password once"},
      {{"encrypt", "--password-file"}, "", kExitUsage, "--password-file needs a value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    const CliResult result = runCaptured(c.argv, c.input);
    EXPECT_EQ(result.code, c.code);
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  for (const char* command : {"encrypt", "decrypt", "receipt-file"}) {
    const CliResult help = runCaptured({command, "--help"});
    EXPECT_NE(help.out.find("--password-file F"), std::string::npos) << command;
    EXPECT_NE(help.out.find("--password P is visible to other local users"), std::string::npos)
        << command;
  }
}

TEST(CryptCli, WrongArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"encrypt", "a", "b"},
      {"encrypt", "--password"},
      {"decrypt", "--password", "12345678", "a"},
      {"receipt-file", "--password", "12345678", "a", "b"},
      {"receipt-file", "scramble", "--password", "12345678", "a", "b"},
      {"version-file", "decrypt", "a"},
      {"version-file", "decrypt", "--password", "x", "a", "b"},
  };
  for (const auto& argv : cases) EXPECT_EQ(runCaptured(argv).code, kExitUsage) << argv[0];
}

}  // namespace
}  // namespace athup::cli
