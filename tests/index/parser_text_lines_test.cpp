#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "index/parser/record_reader.h"
#include "index/parser/line_positions.h"
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
  parser.setReadOnly(true);
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
  parser.setReadOnly(true);
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
  parser.setTempFolder(temp.path());
  parser.fieldDefinitions().add("TEXT", 4);
  parser.setFileName(file);
  parser.open();
  // The copy is written beside the file before it replaces it; block that place.
  std::filesystem::create_directory(dir / "keep.txt.~FP");
  try {
    parser.close();
    ADD_FAILURE() << "the write-back cannot have succeeded";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "無法寫回指定的檔案\"" + file.string() + "\".");
  }
  EXPECT_FALSE(parser.isOpen());
  EXPECT_EQ(readFile(file), original);
  EXPECT_TRUE(filesIn(temp.path()).empty());
}

TEST(ParserTextLines, NoWorkFileMeansNoOpen) {
  TempDir dir;
  RecordReader parser;
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

TEST(ParserTextLines, PosListClampsAndFinds) {
  LinePositions list;
  EXPECT_EQ(list.at(0), 0);
  for (const std::int64_t position : {0, 7, 19}) list.add(position);
  const struct {
    int index;
    std::int64_t position;
  } gets[] = {{-3, 0}, {0, 0}, {1, 7}, {2, 19}, {9, 19}};
  for (const auto& g : gets) EXPECT_EQ(list.at(g.index), g.position) << g.index;
  EXPECT_EQ(list.indexOf(19), 2);
  EXPECT_FALSE(list.contains(8));
  list.remove(0);
  list.remove(5);
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(list.indexOf(19), 1);
}

}  // namespace
}  // namespace athup::index
