#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "security/codecs/file_checksum.h"
#include "security/codecs/stream_checksum.h"
#include "support/temp_dir.h"

namespace athup::security {
namespace {

using athup::testing::TempDir;

// Values the filing program's byte-offset lookup gives (worked out independently by hand from the
// table image); they differ from the standard CRC-32 of the same bytes.
TEST(FileChecksum, KnownAnswersOfFilesOnDisk) {
  const struct {
    std::string content, text, trimmed;
  } cases[] = {
      {"abc", "932BC606", "932BC606"},
      {"123456789", "1B948A57", "1B948A57"},
      {"x14", " DF2766A", "DF2766A"},  // below 0x10000000: blanks, never zeros
      {"136650", " 2002490", "2002490"},
  };
  TempDir dir;
  TCRC32Calc calc;
  for (const auto& c : cases) {
    const auto file = dir.write("f-" + c.content, c.content);
    EXPECT_EQ(calc.FileCRCText(file), c.text) << c.content;
    EXPECT_EQ(calc.FileCRCTextTrimmed(file), c.trimmed) << c.content;
    EXPECT_EQ(fileChecksumTrimmed(fileChecksum(c.content)), c.trimmed) << c.content;
  }
  EXPECT_NE(fileChecksum("abc"), standardCrc32("abc"));
}

TEST(FileChecksum, TextFormsPadWithBlanks) {
  EXPECT_EQ(fileChecksumText(0x0000ABCDu), "    ABCD");
  EXPECT_EQ(fileChecksumTrimmed(0x0000ABCDu), "ABCD");
  EXPECT_EQ(fileChecksumText(0), "       0");
  EXPECT_EQ(fileChecksumTrimmed(0), "0");
}

// A file larger than one read block checksums like the same bytes in memory.
TEST(FileChecksum, LargeFileEqualsInMemoryValue) {
  std::string content(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 131 + i / 7);
  TempDir dir;
  const auto file = dir.write("big.bin", content);
  TCRC32Calc calc;
  EXPECT_EQ(calc.FileCRCTextTrimmed(file), fileChecksumTrimmed(fileChecksum(content)));
}

TEST(FileChecksum, FailuresCarryTheirTextsAndLeaveTheCalculatorIdle) {
  TempDir dir;
  TCRC32Calc calc;
  const auto empty = dir.write("empty.bin", "");
  try {
    (void)calc.FileCRCText(empty);
    ADD_FAILURE() << "an empty file has no checksum";
  } catch (const EFileMappingError& e) {
    EXPECT_STREQ(e.what(), "CreateHandleError");
  }
  EXPECT_FALSE(calc.isBusy());

  try {
    (void)calc.FileCRCText(dir / "missing.bin");
    ADD_FAILURE() << "a missing file has no checksum";
  } catch (const EFileMappingError&) {
    ADD_FAILURE() << "the open error, not a mapping error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("missing.bin"), std::string::npos) << e.what();
  }

  try {
    (void)calc.StreamCRC(nullptr);
    ADD_FAILURE() << "no stream";
  } catch (const EFileMappingError& e) {
    EXPECT_STREQ(e.what(), "InvalidParams");
  }
  const NativeFile closed;
  EXPECT_THROW((void)calc.StreamCRC(&closed), EFileMappingError);

  EXPECT_FALSE(calc.isBusy());
  EXPECT_EQ(calc.FileCRCText(dir.write("abc.txt", "abc")), "932BC606");
}

TEST(FileChecksum, BufferSizeKeepsOnlyValuesInRange) {
  TCRC32Calc calc;
  EXPECT_EQ(calc.BufferSize(), 4096);
  const struct {
    int set, expected;
  } steps[] = {{4095, 4096}, {1048576, 1048576}, {1048577, 1048576}, {8192, 8192}, {-1, 8192}};
  for (const auto& step : steps) {
    calc.setBufferSize(step.set);
    EXPECT_EQ(calc.BufferSize(), step.expected) << step.set;
  }
  EXPECT_FALSE(calc.OnGetData());
}

}  // namespace
}  // namespace athup::security
