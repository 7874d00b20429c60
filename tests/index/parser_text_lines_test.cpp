#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "index/parser/file_parsing.h"
#include "index/parser/pos_list.h"
#include "support/temp_dir.h"

namespace athup::index {
namespace {

using athup::testing::readFile;
using athup::testing::TempDir;
using namespace std::string_literals;

// Reads the records from the last backwards, as the start-up notice does.
std::vector<std::string> lastLines(TFileParsing& parser, int count) {
  std::vector<std::string> lines;
  parser.Last();
  for (int i = 0; i < count; ++i) {
    lines.push_back(parser.FieldByName("LINE").AsString());
    parser.Prior();
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
  TFileParsing parser;
  parser.FieldDefs().add("LINE", 12, TParsingAlignment::paLeft, ' ', false);
  parser.setReadOnly(true);
  parser.setFileName(dir.write("readme.txt",
                               "\r\n\r\nfirst\r\n\r\n\nsecond\rthird line is long\n"
                               "a\0b\xFF"
                               "c\r\n\x1A"
                               "after the end\r\n"s));
  parser.Open();
  EXPECT_EQ(parser.RecordCount(), 4);

  const char* records[] = {"first     \r\n", "second    \r\n", "third line\r\n", "a b c     \r\n"};
  for (const char* record : records) {
    EXPECT_EQ(parser.RecordText(), std::string(record));
    parser.Next();
  }
  EXPECT_TRUE(parser.Eof());
  EXPECT_EQ(parser.RecNo(), 3);

  // Walking back past the first line stays on it.
  parser.FieldDefs().Items(0).setAutoFilterFillChar(true);
  EXPECT_EQ(lastLines(parser, 6),
            (std::vector<std::string>{"abc\r\n", "thirdline\r\n", "second\r\n", "first\r\n",
                                      "first\r\n", "first\r\n"}));
  EXPECT_TRUE(parser.Bof());
}

TEST(ParserTextLines, AFileWithoutLinesHasNoRecords) {
  TempDir dir;
  TFileParsing parser;
  parser.FieldDefs().add("LINE", 10);
  parser.setReadOnly(true);
  for (const char* content : {"", "\r\n\r\n",
                              "\x1A"
                              "text"}) {
    parser.setFileName(dir.write("blank.txt", content));
    parser.Open();
    EXPECT_EQ(parser.RecordCount(), 0);
    parser.Last();
    parser.Prior();
    EXPECT_TRUE(parser.Bof() && parser.Eof());
    EXPECT_EQ(parser.RecordText(), "        \r\n");  // an empty line's record
    parser.Close();
  }
}

TEST(ParserTextLines, WorkFileConvertsLinesAndWritesThemBack) {
  TempDir dir;
  TempDir temp;
  const auto file = dir.write("lines.txt",
                              "abc\r\n\r\nlonger line\n\x1A"
                              "gone");
  TFileParsing parser;
  parser.setTempFolder(temp.path());
  parser.FieldDefs().add("TEXT", 6);
  parser.FieldDefs().add("ENTER", 2);
  parser.setFileName(file);
  parser.Open();

  // While open, the records are read from a converted copy in the temporary folder.
  ASSERT_EQ(filesIn(temp.path()).size(), 1u);
  const auto work = parser.WorkFileName();
  EXPECT_EQ(work.parent_path(), temp.path());
  EXPECT_TRUE(work.filename().string().starts_with("~FP")) << work;
  EXPECT_EQ(parser.RecordCount(), 2);
  EXPECT_EQ(parser.FieldByName("TEXT").AsString(), "abc");
  parser.Next();
  EXPECT_EQ(parser.FieldByName("TEXT").AsString(), "longer");

  parser.Close();
  EXPECT_EQ(readFile(file), "abc   \r\nlonger\r\n");
  EXPECT_TRUE(filesIn(temp.path()).empty());
  EXPECT_EQ(filesIn(dir.path()).size(), 1u);  // nothing left beside the file
}

TEST(ParserTextLines, FailedWriteBackKeepsTheFile) {
  TempDir dir;
  TempDir temp;
  const std::string original = "keep me\r\n";
  const auto file = dir.write("keep.txt", original);
  TFileParsing parser;
  parser.setTempFolder(temp.path());
  parser.FieldDefs().add("TEXT", 4);
  parser.setFileName(file);
  parser.Open();
  // The copy is written beside the file before it replaces it; block that place.
  std::filesystem::create_directory(dir / "keep.txt.~FP");
  try {
    parser.Close();
    ADD_FAILURE() << "the write-back cannot have succeeded";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "無法寫回指定的檔案\"" + file.string() + "\".");
  }
  EXPECT_FALSE(parser.Active());
  EXPECT_EQ(readFile(file), original);
  EXPECT_TRUE(filesIn(temp.path()).empty());
}

TEST(ParserTextLines, NoWorkFileMeansNoOpen) {
  TempDir dir;
  TFileParsing parser;
  parser.FieldDefs().add("TEXT", 4);
  parser.setTempFolder(dir / "no-such-folder");
  const auto file = dir.write("x.txt", "line\r\n");
  parser.setFileName(file);
  try {
    parser.Open();
    ADD_FAILURE() << "opened without a work file";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "無法建立FileParsing暫存檔.");
  }
  EXPECT_FALSE(parser.Active());
  EXPECT_EQ(readFile(file), "line\r\n");
}

TEST(ParserTextLines, PosListClampsAndFinds) {
  TPosList list;
  EXPECT_EQ(list.Get(0), 0);
  for (const std::int64_t position : {0, 7, 19}) list.Add(position);
  const struct {
    int index;
    std::int64_t position;
  } gets[] = {{-3, 0}, {0, 0}, {1, 7}, {2, 19}, {9, 19}};
  for (const auto& g : gets) EXPECT_EQ(list.Get(g.index), g.position) << g.index;
  EXPECT_EQ(list.IndexOf(19), 2);
  EXPECT_FALSE(list.Find(8));
  list.Delete(0);
  list.Delete(5);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOf(19), 1);
}

}  // namespace
}  // namespace athup::index
