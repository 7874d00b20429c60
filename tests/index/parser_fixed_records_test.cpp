#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/errors.h"
#include "index/parser/record_reader.h"
#include "support/temp_dir.h"

namespace athup::index {
namespace {

using athup::testing::TempDir;

// A small layout in the manner of the filing files: text, a zero-filled amount, CR LF.
void defineLayout(RecordReader& parser) {
  parser.setMode(ParsingMode::FixedRecords);
  parser.fieldDefinitions().add("BAN", 8);
  parser.fieldDefinitions().add("AMT", 6, FieldAlignment::Right, '0');
  parser.fieldDefinitions().add("ENTER", 2);
}

std::string openError(RecordReader& parser) {
  try {
    parser.open();
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
  RecordReader parser;
  defineLayout(parser);
  parser.setFileName(file);
  parser.setOpen(true);
  ASSERT_TRUE(parser.isOpen());
  EXPECT_EQ(parser.recordCount(), 3);

  const struct {
    std::string ban, amount;
    double number;
  } expected[] = {{"11111111", "120", 120}, {"22222222", "", 0}, {"33333333", "12000", 12000}};
  for (std::int64_t i = 0; i < parser.recordCount(); ++i) {
    EXPECT_EQ(parser.recordNumber(), i);
    EXPECT_EQ(parser.atBeginning(), i == 0);
    EXPECT_EQ(parser.atEnd(), i == 2);
    const auto& e = expected[i];
    EXPECT_EQ(parser.fieldByName("BAN").asString(), e.ban);
    EXPECT_EQ(parser.fieldByName("AMT").asString(), e.amount);
    EXPECT_DOUBLE_EQ(parser.fieldByName("AMT").asCurrency(), e.number);
    EXPECT_EQ(parser.fieldByName("ENTER").rawText(), "\r\n");
    parser.next();
  }
  EXPECT_EQ(parser.recordNumber(), 2);  // Next at the last record stays there
  EXPECT_EQ(parser.fieldByName("BAN").asString(), "33333333");

  // Last is the last whole record, not a record-length back from the short tail.
  parser.first();
  parser.last();
  EXPECT_EQ(parser.recordNumber(), 2);
  EXPECT_EQ(parser.recordText(), "33333333012000\r\n");
  parser.prior();
  parser.prior();
  parser.prior();
  EXPECT_TRUE(parser.atBeginning());
  EXPECT_EQ(parser.fieldByName("BAN").asString(), "11111111");

  parser.setOpen(false);
  EXPECT_EQ(parser.recordCount(), 0);
  EXPECT_TRUE(parser.atBeginning() && parser.atEnd());
  EXPECT_EQ(testing::readFile(file).size(), 3 * 16 + 11u);  // reading changes nothing
}

TEST(ParserFixedRecords, RecordTextEndsAtTheFirstNul) {
  TempDir dir;
  RecordReader parser;
  defineLayout(parser);
  parser.setFileName(dir.write("nul.T02", std::string("1234\0"
                                                      "678000120\r\n",
                                                      16)));
  parser.open();
  EXPECT_EQ(parser.recordText(), "1234");
  EXPECT_EQ(parser.fieldByName("BAN").asString(), "1234");
  EXPECT_TRUE(parser.fieldByName("AMT").isNull());
}

TEST(ParserFixedRecords, EmptyMissingAndUnusableFiles) {
  TempDir dir;
  RecordReader parser;
  defineLayout(parser);

  parser.setFileName(dir.write("empty.T02", ""));
  parser.open();
  EXPECT_EQ(parser.recordCount(), 0);
  EXPECT_TRUE(parser.atBeginning() && parser.atEnd());
  EXPECT_TRUE(parser.fieldByName("BAN").isNull());

  // A missing file is created empty when asked, reported otherwise.
  const auto created = dir / "created.T02";
  parser.setCreateIfMissing(true);
  parser.setFileName(created);
  EXPECT_FALSE(parser.isOpen());  // a new name closes the old file
  parser.open();
  EXPECT_TRUE(std::filesystem::exists(created));
  EXPECT_EQ(parser.recordCount(), 0);

  const auto missing = dir / "missing.T02";
  parser.setCreateIfMissing(false);
  parser.setFileName(missing);
  EXPECT_EQ(openError(parser), "無法開啟指定的檔案\"" + missing.string() + "\".");
  EXPECT_FALSE(parser.isOpen());
  EXPECT_FALSE(std::filesystem::exists(missing));

  // A folder is no file, whatever createIfMissing says.
  parser.setCreateIfMissing(true);
  parser.setFileName(dir.path());
  EXPECT_EQ(openError(parser), "無法開啟指定的檔案\"" + dir.path().string() + "\".");
}

TEST(ParserFixedRecords, AFormatWithoutWidthHasNoRecords) {
  TempDir dir;
  RecordReader parser;
  parser.setMode(ParsingMode::FixedRecords);
  parser.setFileName(dir.write("any.T02", "some bytes\r\n"));
  parser.open();
  EXPECT_EQ(parser.recordCount(), 0);
  parser.next();
  parser.last();
  EXPECT_EQ(parser.recordNumber(), 0);
  EXPECT_TRUE(parser.atEnd());
}

TEST(ParserFixedRecords, ModeChangesOnlyWhileClosed) {
  TempDir dir;
  RecordReader parser;
  defineLayout(parser);
  parser.setFileName(dir.write("ro.T02", "11111111000120\r\n"));
  parser.open();
  parser.setMode(ParsingMode::TextLinesWorkFile);
  EXPECT_EQ(parser.mode(), ParsingMode::FixedRecords);
  EXPECT_EQ(parser.fieldByName("AMT").asString(), "120");
  parser.close();
  parser.close();  // closing a closed parser does nothing
  parser.setMode(ParsingMode::TextLines);
  EXPECT_EQ(parser.mode(), ParsingMode::TextLines);
}

// A filing file on read-only media, or one the user may not write, opens and parses, and a
// missing one is not created by default.
TEST(ParserFixedRecords, ReadsWithoutWritePermissionAndNeverCreates) {
  TempDir dir;
  const auto file = dir.write("12345678.T02", "11111111000120\r\n22222222000007\r\n");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  RecordReader parser;
  defineLayout(parser);
  parser.setFileName(file);
  parser.open();
  EXPECT_EQ(parser.recordCount(), 2);
  parser.last();
  EXPECT_EQ(parser.fieldByName("AMT").asString(), "7");
  parser.close();
  EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms::owner_read);

  const auto missing = dir / "missing.T02";
  parser.setFileName(missing);
  EXPECT_EQ(openError(parser), "無法開啟指定的檔案\"" + missing.string() + "\".");
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace athup::index
