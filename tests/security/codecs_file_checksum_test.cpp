#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "security/codecs/file_checksum.h"
#include "security/codecs/file_mapping.h"
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

// Another program may rewrite a document while it is checksummed. The view covers the size of the
// moment it was created: bytes appended later are not read, and a file cut short is reported
// instead of ending the process (a memory mapping would die with SIGBUS there).
TEST(FileChecksum, FileChangedWhileReadIsMeasuredOrReported) {
  TempDir dir;
  const std::string content(600 * 1024, 'x');  // more than one read block
  const auto grown = dir.write("grown.bin", content);
  {
    const NativeFile file(grown);
    TFileMapping view(&file);
    std::filesystem::resize_file(grown, content.size() + 4096);
    std::uint32_t c = 0xFFFFFFFFu;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::uint64_t total = 0;
    while (view.nextBlock(data, size)) {
      c = fileChecksumUpdate(c, data, size);
      total += size;
    }
    EXPECT_EQ(total, content.size());
    EXPECT_EQ(c ^ 0xFFFFFFFFu, fileChecksum(content));
  }

#ifndef _WIN32  // Windows refuses to cut short a file that has a view open
  const auto shrunk = dir.write("shrunk.bin", content);
  const NativeFile file(shrunk);
  TFileMapping view(&file);
  std::filesystem::resize_file(shrunk, 1000);
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  try {
    while (view.nextBlock(data, size)) {
    }
    ADD_FAILURE() << "a file cut short gave a checksum";
  } catch (const EFileMappingError& e) {
    EXPECT_STREQ(e.what(), "MapViewError");
  }
#endif
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
