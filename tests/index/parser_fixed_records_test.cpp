#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/errors.h"
#include "index/parser/file_parsing.h"
#include "support/temp_dir.h"

namespace athup::index {
namespace {

using athup::testing::TempDir;

// A small layout in the manner of the filing files: text, a zero-filled amount, CR LF.
void defineLayout(TFileParsing& parser) {
  parser.setTextLineMode(false);
  parser.FieldDefs().add("BAN", 8);
  parser.FieldDefs().add("AMT", 6, TParsingAlignment::paRight, '0');
  parser.FieldDefs().add("ENTER", 2);
}

std::string openError(TFileParsing& parser) {
  try {
    parser.Open();
  } catch (const Error& e) {
    return e.what();
  }
  return "(opened)";
}

TEST(ParserFixedRecords, WalksTheRecordsAndIgnoresAShortLastLine) {
  TempDir dir;
  const auto file = dir.write("12345678.T02",
                              "11111111000120\r\n"
                              "22222222000000\r\n"
                              "33333333012000\r\n"
                              "44444444000");  // the last line lacks its end: not a record
  TFileParsing parser;
  defineLayout(parser);
  parser.setFileName(file);
  parser.setActive(true);
  ASSERT_TRUE(parser.Active());
  EXPECT_EQ(parser.RecordCount(), 3);

  const struct {
    std::string ban, amount;
    double number;
  } expected[] = {{"11111111", "120", 120}, {"22222222", "", 0}, {"33333333", "12000", 12000}};
  for (std::int64_t i = 0; i < parser.RecordCount(); ++i) {
    EXPECT_EQ(parser.RecNo(), i);
    EXPECT_EQ(parser.Bof(), i == 0);
    EXPECT_EQ(parser.Eof(), i == 2);
    const auto& e = expected[i];
    EXPECT_EQ(parser.FieldByName("BAN").AsString(), e.ban);
    EXPECT_EQ(parser.FieldByName("AMT").AsString(), e.amount);
    EXPECT_DOUBLE_EQ(parser.FieldByName("AMT").AsCurrency(), e.number);
    EXPECT_EQ(parser.FieldByName("ENTER").RawText(), "\r\n");
    parser.Next();
  }
  EXPECT_EQ(parser.RecNo(), 2);  // Next at the last record stays there
  EXPECT_EQ(parser.FieldByName("BAN").AsString(), "33333333");

  // Last is the last whole record, not a record-length back from the short tail.
  parser.First();
  parser.Last();
  EXPECT_EQ(parser.RecNo(), 2);
  EXPECT_EQ(parser.RecordText(), "33333333012000\r\n");
  parser.Prior();
  parser.Prior();
  parser.Prior();
  EXPECT_TRUE(parser.Bof());
  EXPECT_EQ(parser.FieldByName("BAN").AsString(), "11111111");

  parser.setActive(false);
  EXPECT_EQ(parser.RecordCount(), 0);
  EXPECT_TRUE(parser.Bof() && parser.Eof());
  EXPECT_EQ(testing::readFile(file).size(), 3 * 16 + 11u);  // reading changes nothing
}

TEST(ParserFixedRecords, RecordTextEndsAtTheFirstNul) {
  TempDir dir;
  TFileParsing parser;
  defineLayout(parser);
  parser.setFileName(dir.write("nul.T02", std::string("1234\0"
                                                      "678000120\r\n",
                                                      16)));
  parser.Open();
  EXPECT_EQ(parser.RecordText(), "1234");
  EXPECT_EQ(parser.FieldByName("BAN").AsString(), "1234");
  EXPECT_TRUE(parser.FieldByName("AMT").IsNull());
}

TEST(ParserFixedRecords, EmptyMissingAndUnusableFiles) {
  TempDir dir;
  TFileParsing parser;
  defineLayout(parser);

  parser.setFileName(dir.write("empty.T02", ""));
  parser.Open();
  EXPECT_EQ(parser.RecordCount(), 0);
  EXPECT_TRUE(parser.Bof() && parser.Eof());
  EXPECT_TRUE(parser.FieldByName("BAN").IsNull());

  // A missing file is created empty when allowed, reported otherwise.
  const auto created = dir / "created.T02";
  parser.setFileName(created);
  EXPECT_FALSE(parser.Active());  // a new name closes the old file
  parser.Open();
  EXPECT_TRUE(std::filesystem::exists(created));
  EXPECT_EQ(parser.RecordCount(), 0);

  const auto missing = dir / "missing.T02";
  parser.setAllowCreate(false);
  parser.setFileName(missing);
  EXPECT_EQ(openError(parser), "無法開啟指定的檔案\"" + missing.string() + "\".");
  EXPECT_FALSE(parser.Active());
  EXPECT_FALSE(std::filesystem::exists(missing));

  // A folder is no file, whatever AllowCreate says.
  parser.setAllowCreate(true);
  parser.setFileName(dir.path());
  EXPECT_EQ(openError(parser), "無法開啟指定的檔案\"" + dir.path().string() + "\".");
}

TEST(ParserFixedRecords, AFormatWithoutWidthHasNoRecords) {
  TempDir dir;
  TFileParsing parser;
  parser.setTextLineMode(false);
  parser.setFileName(dir.write("any.T02", "some bytes\r\n"));
  parser.Open();
  EXPECT_EQ(parser.RecordCount(), 0);
  parser.Next();
  parser.Last();
  EXPECT_EQ(parser.RecNo(), 0);
  EXPECT_TRUE(parser.Eof());
}

TEST(ParserFixedRecords, ReadOnlyChangesOnlyWhileClosed) {
  TempDir dir;
  TFileParsing parser;
  defineLayout(parser);
  parser.setFileName(dir.write("ro.T02", "11111111000120\r\n"));
  parser.setReadOnly(true);
  parser.Open();
  parser.setReadOnly(false);
  EXPECT_TRUE(parser.ReadOnly());
  EXPECT_EQ(parser.FieldByName("AMT").AsString(), "120");
  parser.Close();
  parser.Close();  // closing a closed parser does nothing
  parser.setReadOnly(false);
  EXPECT_FALSE(parser.ReadOnly());
}

}  // namespace
}  // namespace athup::index
