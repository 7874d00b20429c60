#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli_run.h"
#include "support/temp_dir.h"

namespace athup::cli {
namespace {

using athup::testing::TempDir;

TEST(CrcCli, PrintsOneLinePerFileAndGoesOnAfterAFailure) {
  TempDir dir;
  const auto abc = dir.write("abc.txt", "abc").string();
  const auto digits = dir.write("digits.txt", "123456789").string();
  const auto lowValue = dir.write("x14.txt", "x14").string();
  const auto empty = dir.write("empty.txt", "").string();

  CliResult crc = runCaptured({"crc", abc, lowValue, empty, digits});
  EXPECT_EQ(crc.code, 1);
  EXPECT_EQ(crc.out,
            "932BC606  " + abc + "\nDF2766A  " + lowValue + "\n1B948A57  " + digits + "\n");
  EXPECT_EQ(crc.err, empty + ": CreateHandleError\n");

  CliResult crc32 = runCaptured({"crc32", abc, empty, digits});
  EXPECT_EQ(crc32.code, 0);
  EXPECT_EQ(crc32.out,
            "352441C2  " + abc + "\n00000000  " + empty + "\nCBF43926  " + digits + "\n");

  CliResult missing = runCaptured({"crc32", (dir / "missing").string()});
  EXPECT_EQ(missing.code, 1);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_NE(missing.err.find("missing"), std::string::npos);

  EXPECT_EQ(runCaptured({"crc"}).code, 2);
}

TEST(Base64Cli, EncodesAndDecodesBinarySafely) {
  std::string bytes;
  for (int i = 0; i < 58; ++i) bytes.push_back(static_cast<char>(i * 73));
  bytes[3] = '\0';

  CliResult encoded = runCaptured({"base64", "encode"}, bytes);
  EXPECT_EQ(encoded.code, 0);
  ASSERT_EQ(encoded.out.size(), 82u);
  EXPECT_EQ(encoded.out.substr(76, 2), "\r\n");

  CliResult line = runCaptured({"base64", "encode", "--line"}, bytes);
  EXPECT_EQ(line.out, encoded.out.substr(0, 76) + encoded.out.substr(78));

  EXPECT_EQ(runCaptured({"base64", "decode"}, encoded.out).out, bytes);
  EXPECT_EQ(runCaptured({"base64", "decode"}, "Zm9v\nYmFy\n").out, "foobar");
}

TEST(Base64Cli, StrictDecodeRefusesWhatTheLenientOneForgives) {
  const struct {
    const char* text;
    int lenientCode;
    int strictCode;
  } cases[] = {
      {"Zm9v\r\nYmFy\r\n", 0, 0},
      {"Zh==", 0, 1},       // pad bits set
      {"Zm=9v", 0, 1},      // "=" before the end
      {"Zg===", 0, 1},      // three pad characters
      {"Zm9v*YmFy", 0, 1},  // outside the alphabet
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(runCaptured({"base64", "decode"}, c.text).code, c.lenientCode);
    const CliResult strict = runCaptured({"base64", "decode", "--strict"}, c.text);
    EXPECT_EQ(strict.code, c.strictCode) << strict.err;
    EXPECT_EQ(strict.out, c.strictCode == 0 ? "foobar" : "")
        << "nothing is written from a refused text";
  }
}

TEST(Base64Cli, UsageErrors) {
  const std::vector<std::vector<std::string>> wrong = {
      {"base64"},
      {"base64", "wrap"},
      {"base64", "encode", "--wide"},
      {"base64", "decode", "-x"},
      {"base64", "decode", "--strict", "--strict"}};
  for (const auto& argv : wrong) EXPECT_EQ(runCaptured(argv).code, 2) << argv.back();
}

}  // namespace
}  // namespace athup::cli
