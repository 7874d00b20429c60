#include "common/big5.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace athup::common {
namespace {

TEST(Big5, RoundTripsChineseAndAscii) {
  const std::string text = "營業稅 ABC 123";
  const std::string big5 = utf8ToBig5(text);
  EXPECT_EQ(big5.size(), 3 * 2 + 8u);
  EXPECT_EQ(big5.substr(0, 2), "\xC0\xE7");  // 營
  EXPECT_EQ(big5ToUtf8(big5), text);
}

TEST(Big5, WidthAndCutCountBig5Bytes) {
  EXPECT_EQ(big5Width("A營B"), 4u);
  EXPECT_EQ(cutToBig5Width("A營B", 2), "A");  // never half a character
  EXPECT_EQ(cutToBig5Width("A營B", 3), "A營");
  EXPECT_EQ(cutToBig5Width("A營B", 10), "A營B");
}

TEST(Big5, UnconvertibleCharacterIsAnError) {
  EXPECT_THROW((void)utf8ToBig5("😀"), Error);
}

TEST(Big5, LossyConversionReplacesOnlyWhatBig5CannotHold) {
  EXPECT_EQ(utf8ToBig5Lossy("A😀營\xFF"
                            "B"),
            "A?\xC0\xE7?B");
  EXPECT_EQ(utf8ToBig5Lossy("😀", '_'), "_");
  EXPECT_EQ(utf8ToBig5Lossy(""), "");
}

// Windows code page 950 lays the user-defined rows onto the private use area row by row, 157
// cells a row (trail bytes 40-7E, then A1-FE): FA40-FEFE from U+E000, 8E40-A0FE from U+E311,
// 8140-8DFE from U+EEB8, C6A1-C8FE from U+F6B1. Rare name characters typed with the character
// editor are stored in these rows.
TEST(Big5, UserDefinedCharactersRoundTripThroughThePrivateUseArea) {
  const struct {
    const char* big5;
    const char* utf8;
  } cases[] = {
      {"\xFA\x40", "\xEE\x80\x80"},  // U+E000
      {"\xFA\x7E", "\xEE\x80\xBE"},  // U+E03E, the last cell before the gap
      {"\xFA\xA1", "\xEE\x80\xBF"},  // U+E03F, the first cell after it
      {"\xFE\xFE", "\xEE\x8C\x90"},  // U+E310
      {"\x8E\x40", "\xEE\x8C\x91"},  // U+E311
      {"\xA0\xFE", "\xEE\xBA\xB7"},  // U+EEB7
      {"\x81\x40", "\xEE\xBA\xB8"},  // U+EEB8
      {"\x8D\xFE", "\xEF\x9A\xB0"},  // U+F6B0
      {"\xC6\xA1", "\xEF\x9A\xB1"},  // U+F6B1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(big5ToUtf8(c.big5), c.utf8) << c.utf8;
    EXPECT_EQ(utf8ToBig5(c.utf8), c.big5) << c.utf8;
    EXPECT_EQ(utf8ToBig5Lossy(c.utf8), c.big5) << c.utf8;
    EXPECT_EQ(big5Width(c.utf8), 2u);
  }
  // In the middle of ordinary text, and a name that goes in and out unchanged.
  const std::string name = "\xA4\xA4\xFA\x41\xA4\xE5\x41";  // 中, a user-defined cell, 文, A
  EXPECT_EQ(big5ToUtf8(name), "中\xEE\x80\x81文A");
  EXPECT_EQ(utf8ToBig5(big5ToUtf8(name)), name);

  // A lead byte of those rows with a byte that cannot trail is still damage, and private-use
  // code points outside the rows still have no Big5 form.
  EXPECT_EQ(big5ToUtf8("\xFA\x7F"), "\xEF\xBF\xBD");
  EXPECT_THROW((void)utf8ToBig5("\xEF\xA1\x89"), Error);  // U+F849
  EXPECT_EQ(utf8ToBig5Lossy("\xEF\xA3\xBF"), "?");        // U+F8FF
}

TEST(Big5, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(big5ToUtf8("A\xFF"
                       "B"),
            "A\xEF\xBF\xBD"
            "B");
}

}  // namespace
}  // namespace athup::common
