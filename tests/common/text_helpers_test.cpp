#include "common/text_helpers.h"

#include <gtest/gtest.h>

#include "common/big5.h"

namespace athup::common {
namespace {

TEST(Padding, CountsBig5BytesAndRepeatsThePad) {
  struct Case {
    std::string text;
    std::size_t width;
    std::string pad;
    std::string left;
    std::string right;
  };
  const Case cases[] = {
      {"7", 3, "0", "007", "700"},
      {"1234", 3, "0", "1234", "1234"},      // already wider: unchanged
      {"營業", 6, " ", "  營業", "營業  "},  // two Chinese characters are four bytes
      {"A", 4, "ab", "ababA", "Aabab"},      // a longer pad may overshoot
      {"", 2, "0", "00", "00"},
      {"x", 5, "", "x", "x"},  // an empty pad cannot loop forever
  };
  for (const auto& c : cases) {
    EXPECT_EQ(padLeft(c.text, c.width, c.pad), c.left) << c.text << "/" << c.width;
    EXPECT_EQ(padRight(c.text, c.width, c.pad), c.right) << c.text << "/" << c.width;
  }
  EXPECT_EQ(padLeft("", 20000, "0").size(), kMaxPadWidth);
}

TEST(isAllDigits, NeedsDigitsOnlyAndSomethingBesideBlanks) {
  const std::pair<const char*, bool> cases[] = {
      {"0123456789", true}, {"", false},   {"   ", false}, {" 12", false},
      {"12 ", false},       {"1a", false}, {"-1", false},  {"１２", false},  // full-width digits
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(isAllDigits(text), expected) << text;
}

TEST(ListHelpers, MembershipLettersAndJoining) {
  EXPECT_TRUE(isInList("T02", {"T02", "T08", "TET"}));
  EXPECT_FALSE(isInList("t02", {"T02", "T08", "TET"}));
  EXPECT_FALSE(isInList("T0", {"T02"}));

  struct Case {
    char c;
    int kinds;
    bool expected;
  };
  const Case letters[] = {{'A', 2, true},  {'a', 2, false}, {'a', 3, true},  {'A', 3, false},
                          {'Z', 6, true},  {'z', 6, true},  {'Q', 1, false}, {'5', 6, false},
                          {'[', 6, false}, {'`', 6, false}};
  for (const auto& c : letters) EXPECT_EQ(isLetterKind(c.c, c.kinds), c.expected) << c.c << c.kinds;

  EXPECT_EQ(joinLines({"a", "", "營"}), "a\r\n\r\n營\r\n");
  EXPECT_EQ(joinLines({}), "");
}

TEST(splitText, KeepsEmptyPiecesAndTheTail) {
  using List = std::vector<std::string>;
  EXPECT_EQ(splitText("a|b|", "|"), (List{"a", "b", ""}));
  EXPECT_EQ(splitText("|a||b", "|"), (List{"", "a", "", "b"}));
  EXPECT_EQ(splitText("no delimiter", "|"), (List{"no delimiter"}));
  EXPECT_EQ(splitText("", "|"), (List{""}));
  EXPECT_EQ(splitText("a<>b<>c", "<>"), (List{"a", "b", "c"}));
  // 功 is A55C in Big5: its trail byte is '\' but the character is not split.
  EXPECT_EQ(splitText("功能\\x", "\\"), (List{"功能", "x"}));
}

TEST(wrapTextByBytes, NeverCutsADoubleByteCharacter) {
  // 39 single bytes and one Chinese character: 41 bytes whose 40th starts the character.
  const std::string text = std::string(39, 'a') + "營";
  ASSERT_EQ(big5Width(text), 41u);
  EXPECT_EQ(wrapTextByBytes(text, 40), std::string(39, 'a') + "\r營\r");

  EXPECT_EQ(wrapTextByBytes("", 40), "\r");
  EXPECT_EQ(wrapTextByBytes("abcdef", 3), "abc\rdef\r");
  EXPECT_EQ(wrapTextByBytes("營業稅", 4), "營業\r稅\r");
  EXPECT_EQ(wrapTextByBytes("a營", 1), "a\r營\r");  // a width below 2 still makes progress
}

TEST(sortRowsByColumn, ComparesTrimmedKeysAsTextAndIsStable) {
  using List = std::vector<std::string>;
  List rows = {"x| 2", "y|10 ", "z|1"};
  sortRowsByColumn(rows, "MaxToMin", 1);
  EXPECT_EQ(rows, (List{"x| 2", "y|10 ", "z|1"}));  // "2" > "10" > "1" as text
  sortRowsByColumn(rows, "MinToMax", 1);
  EXPECT_EQ(rows, (List{"z|1", "y|10 ", "x| 2"}));

  List equal = {"b|1|first", "a|2|x", "b|1|second", "c|0|y", "b|1|third"};
  sortRowsByColumn(equal, "MinToMax", 0);
  EXPECT_EQ(equal, (List{"a|2|x", "b|1|first", "b|1|second", "b|1|third", "c|0|y"}));
  sortRowsByColumn(equal, "MaxToMin", 0);
  EXPECT_EQ(equal, (List{"c|0|y", "b|1|first", "b|1|second", "b|1|third", "a|2|x"}));

  List both = {"b", "a", "c"};
  sortRowsByColumn(both, "MaxToMin,MinToMax", 0);  // the ascending pass comes last
  EXPECT_EQ(both, (List{"a", "b", "c"}));

  List untouched = {"b", "a"};
  sortRowsByColumn(untouched, "Neither", 0);
  EXPECT_EQ(untouched, (List{"b", "a"}));

  List shortRows = {"a|b", "c"};  // the second row has no column 1: empty key, smallest
  sortRowsByColumn(shortRows, "MinToMax", 1);
  EXPECT_EQ(shortRows, (List{"c", "a|b"}));
}

TEST(sortRowsByColumn, OrdersChineseKeysInBig5Order) {
  // 亂 comes before 人 in Unicode but after it in Big5 (B6C3 against A448).
  std::vector<std::string> rows = {"亂", "人"};
  sortRowsByColumn(rows, "MinToMax", 0);
  EXPECT_EQ(rows, (std::vector<std::string>{"人", "亂"}));
}

}  // namespace
}  // namespace athup::common
