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
  FileChecksumCalculator calc;
  for (const auto& c : cases) {
    const auto file = dir.write("f-" + c.content, c.content);
    EXPECT_EQ(calc.paddedChecksumText(file), c.text) << c.content;
    EXPECT_EQ(calc.checksumText(file), c.trimmed) << c.content;
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
  FileChecksumCalculator calc;
  EXPECT_EQ(calc.checksumText(file), fileChecksumTrimmed(fileChecksum(content)));
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
    FileMapping view(&file);
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
  FileMapping view(&file);
  std::filesystem::resize_file(shrunk, 1000);
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  try {
    while (view.nextBlock(data, size)) {
    }
    ADD_FAILURE() << "a file cut short gave a checksum";
  } catch (const FileMappingError& e) {
    EXPECT_STREQ(e.what(), "MapViewError");
  }
#endif
}

TEST(FileChecksum, FailuresCarryTheirTextsAndLeaveTheCalculatorIdle) {
  TempDir dir;
  FileChecksumCalculator calc;
  const auto empty = dir.write("empty.bin", "");
  try {
    (void)calc.paddedChecksumText(empty);
    ADD_FAILURE() << "an empty file has no checksum";
  } catch (const FileMappingError& e) {
    EXPECT_STREQ(e.what(), "CreateHandleError");
  }
  EXPECT_FALSE(calc.isBusy());

  try {
    (void)calc.paddedChecksumText(dir / "missing.bin");
    ADD_FAILURE() << "a missing file has no checksum";
  } catch (const FileMappingError&) {
    ADD_FAILURE() << "the open error, not a mapping error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("missing.bin"), std::string::npos) << e.what();
  }

  try {
    (void)calc.checksumOf(nullptr);
    ADD_FAILURE() << "no stream";
  } catch (const FileMappingError& e) {
    EXPECT_STREQ(e.what(), "InvalidParams");
  }
  const NativeFile closed;
  EXPECT_THROW((void)calc.checksumOf(&closed), FileMappingError);

  EXPECT_FALSE(calc.isBusy());
  EXPECT_EQ(calc.paddedChecksumText(dir.write("abc.txt", "abc")), "932BC606");
}

}  // namespace
}  // namespace athup::security
