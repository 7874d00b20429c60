#include "common/big5.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace athup::common {
namespace {

TEST(Big5, RoundTripsChineseAndAscii) {
  const std::string text = "營業稅 ABC 123";
  const std::string big5 = Utf8ToBig5(text);
  EXPECT_EQ(big5.size(), 3 * 2 + 8u);
  EXPECT_EQ(big5.substr(0, 2), "\xC0\xE7");  // 營
  EXPECT_EQ(Big5ToUtf8(big5), text);
}

TEST(Big5, WidthAndCutCountBig5Bytes) {
  EXPECT_EQ(Big5Width("A營B"), 4u);
  EXPECT_EQ(CutToBig5Width("A營B", 2), "A");  // never half a character
  EXPECT_EQ(CutToBig5Width("A營B", 3), "A營");
  EXPECT_EQ(CutToBig5Width("A營B", 10), "A營B");
}

TEST(Big5, UnconvertibleCharacterIsAnError) {
  EXPECT_THROW((void)Utf8ToBig5("😀"), Error);
}

TEST(Big5, LossyConversionReplacesOnlyWhatBig5CannotHold) {
  EXPECT_EQ(Utf8ToBig5Lossy("A😀營\xFF"
                            "B"),
            "A?\xC0\xE7?B");
  EXPECT_EQ(Utf8ToBig5Lossy("😀", '_'), "_");
  EXPECT_EQ(Utf8ToBig5Lossy(""), "");
}

TEST(Big5, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Big5ToUtf8("A\xFF"
                       "B"),
            "A\xEF\xBF\xBD"
            "B");
}

}  // namespace
}  // namespace athup::common
