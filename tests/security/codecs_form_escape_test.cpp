#include <gtest/gtest.h>

#include <string>

#include "security/codecs/form_escape.h"

namespace athup::security {
namespace {

TEST(FormEscape, EscapesExactlyFiveCharactersInPlace) {
  const struct {
    std::string value, escaped;
  } cases[] = {
      {"a+b/c=d\re\nf", "a%2Bb%2Fc%3Dd%0De%0Af"},
      {"QUJD+/==\r\n", "QUJD%2B%2F%3D%3D%0D%0A"},
      {"Ab 09 & % 100%&x", "Ab 09 & % 100%&x"},  // blanks, "&" and "%" stay as they are
      {"", ""},
      {"營業+稅", "營業%2B稅"},  // Big5 characters survive the round trip
      {"a😀b", "a?b"},            // outside Big5: the code page's "?"
  };
  for (const auto& c : cases) EXPECT_EQ(escapeFormValue(c.value), c.escaped) << c.value;
}

}  // namespace
}  // namespace athup::security
