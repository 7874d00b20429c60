#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/file_faults.h"
#include "index/parser/record_reader.h"
#include "index/parser/text_lines.h"
#include "support/temp_dir.h"

namespace athup::index {
namespace {

using athup::testing::readFile;
using athup::testing::TempDir;
using namespace std::string_literals;

// Reads the records from the last backwards, as the start-up notice does.
std::vector<std::string> lastLines(RecordReader& parser, int count) {
  std::vector<std::string> lines;
  parser.last();
  for (int i = 0; i < count; ++i) {
    lines.push_back(parser.fieldByName("LINE").asString());
    parser.prior();
  }
  return lines;
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files.push_back(entry.path());
  return files;
}

TEST(ParserTextLines, ReadOnlyLinesSkipBlankLinesAndStopAtCtrlZ) {
  TempDir dir;
  RecordReader parser;
  parser.fieldDefinitions().add("LINE", 12, FieldAlignment::Left, ' ', false);
  parser.setMode(ParsingMode::TextLines);
  parser.setFileName(dir.write("readme.txt",
                               "\r\n\r\nfirst\r\n\r\n\nsecond\rthird line is long\n"
                               "a\0b\xFF"
                               "c\r\n\x1A"
                               "after the end\r\n"s));
  parser.open();
  EXPECT_EQ(parser.recordCount(), 4);

  const char* records[] = {"first     \r\n", "second    \r\n", "third line\r\n", "a b c     \r\n"};
  for (const char* record : records) {
    EXPECT_EQ(parser.recordText(), std::string(record));
    parser.next();
  }
  EXPECT_TRUE(parser.atEnd());
  EXPECT_EQ(parser.recordNumber(), 3);

  // Walking back past the first line stays on it.
  parser.fieldDefinitions().item(0).setAutoFilterFillChar(true);
  EXPECT_EQ(lastLines(parser, 6),
            (std::vector<std::string>{"abc\r\n", "thirdline\r\n", "second\r\n", "first\r\n",
                                      "first\r\n", "first\r\n"}));
  EXPECT_TRUE(parser.atBeginning());
}

TEST(ParserTextLines, AFileWithoutLinesHasNoRecords) {
  TempDir dir;
  RecordReader parser;
  parser.fieldDefinitions().add("LINE", 10);
  parser.setMode(ParsingMode::TextLines);
  for (const char* content : {"", "\r\n\r\n",
                              "\x1A"
                              "text"}) {
    parser.setFileName(dir.write("blank.txt", content));
    parser.open();
    EXPECT_EQ(parser.recordCount(), 0);
    parser.last();
    parser.prior();
    EXPECT_TRUE(parser.atBeginning() && parser.atEnd());
    EXPECT_EQ(parser.recordText(), "        \r\n");  // an empty line's record
    parser.close();
  }
}

TEST(ParserTextLines, WorkFileConvertsLinesAndWritesThemBack) {
  TempDir dir;
  TempDir temp;
  const auto file = dir.write("lines.txt",
                              "abc\r\n\r\nlonger line\n\x1A"
                              "gone");
  RecordReader parser;
  parser.setMode(ParsingMode::TextLinesWorkFile);
  parser.setTempFolder(temp.path());
  parser.fieldDefinitions().add("TEXT", 6);
  parser.fieldDefinitions().add("ENTER", 2);
  parser.setFileName(file);
  parser.open();

  // While open, the records are read from a converted copy in the temporary folder.
  ASSERT_EQ(filesIn(temp.path()).size(), 1u);
  const auto work = parser.workFileName();
  EXPECT_EQ(work.parent_path(), temp.path());
  EXPECT_TRUE(work.filename().string().starts_with("~FP")) << work;
  EXPECT_EQ(parser.recordCount(), 2);
  EXPECT_EQ(parser.fieldByName("TEXT").asString(), "abc");
  parser.next();
  EXPECT_EQ(parser.fieldByName("TEXT").asString(), "longer");

  parser.close();
  EXPECT_EQ(readFile(file), "abc   \r\nlonger\r\n");
  EXPECT_TRUE(filesIn(temp.path()).empty());
  EXPECT_EQ(filesIn(dir.path()).size(), 1u);  // nothing left beside the file
}

TEST(ParserTextLines, FailedWriteBackKeepsTheFile) {
  TempDir dir;
  TempDir temp;
  const std::string original = "keep me\r\n";
  const auto file = dir.write("keep.txt", original);
  RecordReader parser;
  parser.setMode(ParsingMode::TextLinesWorkFile);
  parser.setTempFolder(temp.path());
  parser.fieldDefinitions().add("TEXT", 4);
  parser.setFileName(file);
  parser.open();
  // The disk fills while the converted text is written back.
  try {
    const common::ScopedFileFault diskFull(1);
    parser.close();
    ADD_FAILURE() << "the write-back cannot have succeeded";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "無法寫回指定的檔案\"" + file.string() + "\".");
  }
  EXPECT_FALSE(parser.isOpen());
  EXPECT_EQ(readFile(file), original);
  EXPECT_TRUE(filesIn(temp.path()).empty());
  EXPECT_EQ(filesIn(dir.path()).size(), 1u);  // no temporary file beside it
}

TEST(ParserTextLines, NoWorkFileMeansNoOpen) {
  TempDir dir;
  RecordReader parser;
  parser.setMode(ParsingMode::TextLinesWorkFile);
  parser.fieldDefinitions().add("TEXT", 4);
  parser.setTempFolder(dir / "no-such-folder");
  const auto file = dir.write("x.txt", "line\r\n");
  parser.setFileName(file);
  try {
    parser.open();
    ADD_FAILURE() << "opened without a work file";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "無法建立FileParsing暫存檔.");
  }
  EXPECT_FALSE(parser.isOpen());
  EXPECT_EQ(readFile(file), "line\r\n");
}

TEST(ParserTextLines, LineStartsSkipLineEndsAndStopAtCtrlZ) {
  const std::string content =
      "\r\nab\r\n\ncd\re\x1A"
      "f\r\n";
  EXPECT_EQ(scanLineStarts(content), (std::vector<std::int64_t>{2, 7, 10}));
  EXPECT_EQ(lineAt(content, 7), "cd");
  EXPECT_EQ(lineAt(content, -1), "");
  EXPECT_EQ(lineAt(content, 99), "");
}

// The default work folder is private, the work file too, and links planted at names the old
// write-back used are not followed.
TEST(ParserTextLines, WorkFileIsPrivateAndItsWriteBackFollowsNoLink) {
  TempDir dir;
  const auto file = dir.write("lines.txt", "abc\r\n");
  const auto victim = dir.write("victim.txt", "untouched");
  std::filesystem::create_symlink(victim, dir / "lines.txt.~FP");
  RecordReader parser;
  parser.setMode(ParsingMode::TextLinesWorkFile);
  parser.fieldDefinitions().add("TEXT", 6);
  parser.setFileName(file);
  parser.open();
  const auto work = parser.workFileName();
  EXPECT_NE(work.parent_path(), std::filesystem::temp_directory_path());
  EXPECT_EQ(std::filesystem::status(work).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(std::filesystem::status(work.parent_path()).permissions(),
            std::filesystem::perms::owner_all);
  parser.close();
  EXPECT_FALSE(std::filesystem::exists(work.parent_path()));
  EXPECT_EQ(readFile(victim), "untouched");
  EXPECT_FALSE(std::filesystem::is_symlink(file));
  EXPECT_EQ(readFile(file), "abc \r\n");
}

TEST(ParserTextLines, LastLinesFollowTheByteOrderMarkRule) {
  TempDir dir;
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"Big5", "\xA4\xBD\xA7\x69\r\n  two  \r\n", {"two", "公告", "公告"}},
      {"UTF-8 with its mark", "\xEF\xBB\xBF公告\r\ntwo\r\n", {"two", "公告", "公告"}},
      {"no lines", "\r\n", {"", "", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readLastLines(dir.write("notice.txt", c.bytes), 3, 100), c.lines) << c.what;
  }
  EXPECT_THROW((void)readLastLines(dir / "missing.txt", 3, 100), Error);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.txt"));
}

}  // namespace
}  // namespace athup::index
