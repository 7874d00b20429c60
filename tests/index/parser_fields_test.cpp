#include <gtest/gtest.h>

#include <string>

#include "common/errors.h"
#include "index/parser/currency_text.h"
#include "index/parser/record_format.h"

namespace athup::index {
namespace {

// A parser whose current record the test sets directly.
class RecordUnderTest : public RecordFormat {
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
    FieldAlignment alignment;
    char fill;
    bool filter;
    std::string asString;
    double asNumber;
  } cases[] = {
      {"AB C  ", FieldAlignment::Left, ' ', true, "ABC", 0},  // every blank, not only trailing
      {"AB C  ", FieldAlignment::Left, ' ', false, "AB C  ", 0},
      {"000120", FieldAlignment::Right, '0', true, "120", 120},
      {"000000", FieldAlignment::Right, '0', true, "", 0},
      {"001020", FieldAlignment::Right, '0', true, "1020", 1020},  // inner zeros stay
      {"001020", FieldAlignment::Left, '0', true, "12", 12},
      {"  12.5", FieldAlignment::Right, ' ', true, "12.5", 12.5},
      {"-00042", FieldAlignment::Right, '0', true, "-00042", -42},
  };
  for (const auto& c : cases) {
    RecordUnderTest parser;
    parser.fieldDefinitions().add("F", static_cast<int>(c.raw.size()), c.alignment, c.fill,
                                  c.filter);
    parser.show(c.raw);
    const RecordField& field = parser.fieldByName("F");
    EXPECT_EQ(field.rawText(), c.raw);
    EXPECT_EQ(field.asString(), c.asString) << c.raw;
    EXPECT_DOUBLE_EQ(field.asCurrency(), c.asNumber) << c.raw;
    EXPECT_EQ(field.isNull(), c.asString.empty()) << c.raw;
  }
}

TEST(ParserFields, PositionsFollowTheWidthsBefore) {
  RecordUnderTest parser;
  parser.fieldDefinitions().add("A", 3);
  parser.fieldDefinitions().add("B", 4);
  parser.fieldDefinitions().add("EMPTY", 0);
  parser.fieldDefinitions().add("C", 5);
  EXPECT_EQ(parser.fieldDefinitions().recordLength(), 12);
  EXPECT_EQ(parser.fieldDefinitions().item(3).startPosition(), 8);

  parser.show("aaabbbbccccc");
  EXPECT_EQ(parser.fieldByName("B").rawText(), "bbbb");
  EXPECT_EQ(parser.field(3).rawText(), "ccccc");
  EXPECT_TRUE(parser.fieldByName("EMPTY").isNull());

  parser.show("aaabbbbcc");  // a record that ends early gives shorter or empty values
  EXPECT_EQ(parser.fieldByName("C").rawText(), "cc");
  parser.show("aaab");
  EXPECT_EQ(parser.fieldByName("C").rawText(), "");
  EXPECT_TRUE(parser.fieldByName("C").isNull());

  // A width changed later moves the fields after it.
  parser.fieldDefinitions().item(0).setSize(2);
  parser.show("aabbbbccccc");
  EXPECT_EQ(parser.fieldByName("C").rawText(), "ccccc");
}

TEST(ParserFields, ValuesAreBig5BytesWithAUtf8Form) {
  RecordUnderTest parser;
  parser.fieldDefinitions().add("NAME", 8);
  parser.show("\xC0\xE7\xB7\x7E  AB");  // 營業 in Big5, blanks, AB
  EXPECT_EQ(parser.fieldByName("NAME").asString(),
            "\xC0\xE7\xB7\x7E"
            "AB");
  EXPECT_EQ(parser.fieldByName("NAME").asUtf8(), "營業AB");
}

TEST(ParserFields, UnknownNamesAndIndexesNameThemselves) {
  RecordUnderTest parser;
  parser.fieldDefinitions().add("BAN", 8);
  EXPECT_EQ(errorText([&] { (void)parser.fieldByName("ban"); }), "錯誤的欄位名稱\"ban\".");
  EXPECT_EQ(errorText([&] { (void)parser.field(1); }), "錯誤的欄位索引\"1\".");
  EXPECT_EQ(errorText([&] { (void)parser.field(-1); }), "錯誤的欄位索引\"-1\".");
  EXPECT_EQ(errorText([&] { (void)parser.fieldDefinitions().item(5); }), "錯誤的欄位索引\"5\".");
}

TEST(ParserFields, FieldTypeOutsideTheAcceptedSetIsRefused) {
  RecordUnderTest parser;
  FieldDefinition& def = parser.fieldDefinitions().add("AMT", 12);
  def.setFieldType(FieldType::ftCurrency);
  EXPECT_EQ(errorText([&] { def.setFieldType(FieldType::ftBlob); }),
            "您僅可於TParsingFieldDef中定義欄位型態為ftString, ftWideString, ftBoolean, "
            "ftCurrency, ftDate, ftTime, ftDateTime, ftFloat, ftWord, ftSmallint, ftInteger, "
            "ftLargeInt.");
  EXPECT_EQ(def.fieldType(), FieldType::ftCurrency);
  EXPECT_EQ(def.displayName(), "AMT <12 ftCurrency>");
}

TEST(ParserFields, DefaultNamesFollowTheRecordFormatName) {
  RecordUnderTest parser;
  parser.fieldDefinitions().add();
  parser.fieldDefinitions().add("BAN", 8);
  parser.fieldDefinitions().add();
  EXPECT_EQ(parser.fieldDefinitions().item(0).fieldName(), "Untitled_0");
  EXPECT_EQ(parser.fieldDefinitions().item(2).fieldName(), "Untitled_2");

  parser.setRecordFormatName("T02");
  EXPECT_EQ(parser.fieldDefinitions().item(0).fieldName(), "T02_0");
  EXPECT_EQ(parser.fieldDefinitions().item(1).fieldName(), "BAN");
  EXPECT_EQ(parser.fieldDefinitions().item(2).fieldName(), "T02_2");
  EXPECT_EQ(parser.fieldByName("T02_2").definition().index(), 2);

  parser.fieldDefinitions().remove(0);  // the live fields follow the definitions
  EXPECT_EQ(parser.fieldCount(), 2);
  EXPECT_EQ(parser.field(0).definition().fieldName(), "BAN");
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
