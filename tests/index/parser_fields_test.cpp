#include <gtest/gtest.h>

#include <string>

#include "common/errors.h"
#include "index/parser/currency_text.h"
#include "index/parser/custom_info_parsing.h"

namespace athup::index {
namespace {

// A parser whose current record the test sets directly.
class RecordUnderTest : public TCustomInfoParsing {
 public:
  void show(std::string record) { setRecordText(std::move(record)); }
};

std::string errorText(const auto& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ParserFields, FillRules) {
  const struct {
    std::string raw;
    TParsingAlignment alignment;
    char fill;
    bool filter;
    std::string asString;
    double asNumber;
  } cases[] = {
      {"AB C  ", TParsingAlignment::paLeft, ' ', true, "ABC", 0},  // every blank, not only trailing
      {"AB C  ", TParsingAlignment::paLeft, ' ', false, "AB C  ", 0},
      {"000120", TParsingAlignment::paRight, '0', true, "120", 120},
      {"000000", TParsingAlignment::paRight, '0', true, "", 0},
      {"001020", TParsingAlignment::paRight, '0', true, "1020", 1020},  // inner zeros stay
      {"001020", TParsingAlignment::paLeft, '0', true, "12", 12},
      {"  12.5", TParsingAlignment::paRight, ' ', true, "12.5", 12.5},
      {"-00042", TParsingAlignment::paRight, '0', true, "-00042", -42},
  };
  for (const auto& c : cases) {
    RecordUnderTest parser;
    parser.FieldDefs().add("F", static_cast<int>(c.raw.size()), c.alignment, c.fill, c.filter);
    parser.show(c.raw);
    const TParsingField& field = parser.FieldByName("F");
    EXPECT_EQ(field.RawText(), c.raw);
    EXPECT_EQ(field.AsString(), c.asString) << c.raw;
    EXPECT_DOUBLE_EQ(field.AsCurrency(), c.asNumber) << c.raw;
    EXPECT_EQ(field.IsNull(), c.asString.empty()) << c.raw;
  }
}

TEST(ParserFields, PositionsFollowTheWidthsBefore) {
  RecordUnderTest parser;
  parser.FieldDefs().add("A", 3);
  parser.FieldDefs().add("B", 4);
  parser.FieldDefs().add("EMPTY", 0);
  parser.FieldDefs().add("C", 5);
  EXPECT_EQ(parser.FieldDefs().RecordLength(), 12);
  EXPECT_EQ(parser.FieldDefs().Items(3).StartPos(), 8);

  parser.show("aaabbbbccccc");
  EXPECT_EQ(parser.FieldByName("B").RawText(), "bbbb");
  EXPECT_EQ(parser.Fields(3).RawText(), "ccccc");
  EXPECT_TRUE(parser.FieldByName("EMPTY").IsNull());

  parser.show("aaabbbbcc");  // a record that ends early gives shorter or empty values
  EXPECT_EQ(parser.FieldByName("C").RawText(), "cc");
  parser.show("aaab");
  EXPECT_EQ(parser.FieldByName("C").RawText(), "");
  EXPECT_TRUE(parser.FieldByName("C").IsNull());

  // A width changed later moves the fields after it.
  parser.FieldDefs().Items(0).setSize(2);
  parser.show("aabbbbccccc");
  EXPECT_EQ(parser.FieldByName("C").RawText(), "ccccc");
}

TEST(ParserFields, ValuesAreBig5BytesWithAUtf8Form) {
  RecordUnderTest parser;
  parser.FieldDefs().add("NAME", 8);
  parser.show("\xC0\xE7\xB7\x7E  AB");  // 營業 in Big5, blanks, AB
  EXPECT_EQ(parser.FieldByName("NAME").AsString(),
            "\xC0\xE7\xB7\x7E"
            "AB");
  EXPECT_EQ(parser.FieldByName("NAME").AsUtf8(), "營業AB");
}

TEST(ParserFields, UnknownNamesAndIndexesNameThemselves) {
  RecordUnderTest parser;
  parser.FieldDefs().add("BAN", 8);
  EXPECT_EQ(errorText([&] { (void)parser.FieldByName("ban"); }), "錯誤的欄位名稱\"ban\".");
  EXPECT_EQ(errorText([&] { (void)parser.Fields(1); }), "錯誤的欄位索引\"1\".");
  EXPECT_EQ(errorText([&] { (void)parser.Fields(-1); }), "錯誤的欄位索引\"-1\".");
  EXPECT_EQ(errorText([&] { (void)parser.FieldDefs().Items(5); }), "錯誤的欄位索引\"5\".");
}

TEST(ParserFields, FieldTypeOutsideTheAcceptedSetIsRefused) {
  RecordUnderTest parser;
  TParsingFieldDef& def = parser.FieldDefs().add("AMT", 12);
  def.setFieldType(TFieldType::ftCurrency);
  EXPECT_EQ(errorText([&] { def.setFieldType(TFieldType::ftBlob); }),
            "您僅可於TParsingFieldDef中定義欄位型態為ftString, ftWideString, ftBoolean, "
            "ftCurrency, ftDate, ftTime, ftDateTime, ftFloat, ftWord, ftSmallint, ftInteger, "
            "ftLargeInt.");
  EXPECT_EQ(def.FieldType(), TFieldType::ftCurrency);
  EXPECT_EQ(def.DisplayName(), "AMT <12 ftCurrency>");
}

TEST(ParserFields, DefaultNamesFollowTheRecordFormatName) {
  RecordUnderTest parser;
  parser.FieldDefs().Add();
  parser.FieldDefs().add("BAN", 8);
  parser.FieldDefs().Add();
  EXPECT_EQ(parser.FieldDefs().Items(0).FieldName(), "Untitled_0");
  EXPECT_EQ(parser.FieldDefs().Items(2).FieldName(), "Untitled_2");

  parser.setRecordFormatName("T02");
  EXPECT_EQ(parser.FieldDefs().Items(0).FieldName(), "T02_0");
  EXPECT_EQ(parser.FieldDefs().Items(1).FieldName(), "BAN");
  EXPECT_EQ(parser.FieldDefs().Items(2).FieldName(), "T02_2");
  EXPECT_EQ(parser.FieldByName("T02_2").FieldDef().Index(), 2);

  parser.FieldDefs().Delete(0);  // the live fields follow the definitions
  EXPECT_EQ(parser.FieldCount(), 2);
  EXPECT_EQ(parser.Fields(0).FieldDef().FieldName(), "BAN");
}

TEST(ParserFields, NumbersConvertOrGiveZero) {
  const struct {
    std::string text;
    double value;
  } cases[] = {
      {"120", 120},
      {"-3.5", -3.5},
      {"+7", 7},
      {" 42 ", 42},
      {"1.23456", 1.2346},  // four decimals
      {"", 0},
      {"12A", 0},
      {"1,000", 0},
      {"inf", 0},
      {"nan", 0},
      {".", 0},
      {"-", 0},
      {"1e3", 1000},
      {"0x10", 0},
      {"99999999999999999999", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(textToCurrency(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace athup::index
