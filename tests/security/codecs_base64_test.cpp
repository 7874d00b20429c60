#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/errors.h"
#include "security/codecs/base64.h"

namespace athup::security {
namespace {

std::string bytesOfLength(std::size_t n) {
  std::string bytes;
  for (std::size_t i = 0; i < n; ++i) bytes.push_back(static_cast<char>(i * 37 + 11));
  return bytes;
}

// RFC 4648 section 10 vectors.
TEST(Base64, Rfc4648Vectors) {
  const struct {
    std::string bytes, text;
  } cases[] = {{"", ""},
               {"f", "Zg=="},
               {"fo", "Zm8="},
               {"foo", "Zm9v"},
               {"foob", "Zm9vYg=="},
               {"fooba", "Zm9vYmE="},
               {"foobar", "Zm9vYmFy"}};
  for (const auto& c : cases) {
    EXPECT_EQ(base64EncodeText(c.bytes), c.text);
    EXPECT_EQ(base64Line(c.bytes), c.text);
    EXPECT_EQ(base64DecodeText(c.text), c.bytes);
  }
}

TEST(Base64, LinesBreakAfter76Characters) {
  const std::string text57 = base64EncodeText(bytesOfLength(57));
  ASSERT_EQ(text57.size(), 78u);
  EXPECT_EQ(text57.substr(76), "\r\n");
  EXPECT_EQ(text57.find_first_of("\r\n="), 76u);

  const std::string text58 = base64EncodeText(bytesOfLength(58));
  ASSERT_EQ(text58.size(), 82u);
  EXPECT_EQ(text58.substr(0, 78), text57);
  EXPECT_EQ(text58.substr(80), "==");  // two characters, "==", and no line break at the end

  // Three full lines and a part: breaks only after each 76 characters.
  const std::string text = base64EncodeText(bytesOfLength(3 * 57 + 10));
  EXPECT_EQ(text.find("\r\n"), 76u);
  EXPECT_EQ(text.find("\r\n", 78), 154u);
  EXPECT_EQ(text.find("\r\n", 156), 232u);
  EXPECT_EQ(text.find("\r\n", 234), std::string::npos);
}

TEST(Base64, LineFormHasNoBreaks) {
  EXPECT_EQ(base64Line(bytesOfLength(57)), base64EncodeText(bytesOfLength(57)).substr(0, 76));
  const std::string line = base64Line(bytesOfLength(1000));
  EXPECT_EQ(line.size(), (1000 + 2) / 3 * 4);
  EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

TEST(Base64, DecodeSkipsEverythingOutsideTheAlphabet) {
  const std::string bytes = bytesOfLength(300);
  const std::string broken = base64EncodeText(bytes);
  std::string noisy;
  for (const char ch : base64Line(bytes)) {
    noisy.push_back(ch);
    if (noisy.size() % 5 == 0) noisy += " \r\n\t*";
  }
  EXPECT_EQ(base64DecodeText(broken), bytes);
  EXPECT_EQ(base64DecodeText(noisy), bytes);
}

TEST(Base64, PaddingAndTruncatedGroups) {
  const struct {
    std::string text, bytes;
  } cases[] = {
      {"QQ==QUJD", "AABC"},  // a padded group in the middle ends only that group
      {"QUI", "AB"},         // truncated: the bytes the characters fully describe
      {"QQ", "A"},          {"Q", ""}, {"====", std::string(1, '\0')},
  };
  for (const auto& c : cases) EXPECT_EQ(base64DecodeText(c.text), c.bytes) << c.text;
}

TEST(Base64, StreamsMatchTextFormsAcrossBlockEdges) {
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{510}, std::size_t{58369}, std::size_t{200003}}) {
    const std::string bytes = bytesOfLength(size);
    std::istringstream plain("ignored" + bytes);
    plain.seekg(7);  // from the current position on
    std::ostringstream encoded;
    base64EncodeStream(plain, encoded);
    EXPECT_EQ(encoded.str(), base64EncodeText(bytes)) << size;

    std::istringstream text(encoded.str());
    std::ostringstream decoded;
    base64DecodeStream(text, decoded);
    EXPECT_EQ(decoded.str(), bytes) << size;
  }
}

// Server replies and seals: only one text may stand for given bytes.
TEST(Base64, StrictDecodeRefusesWhatTheLenientOneForgives) {
  const struct {
    const char* text;
    const char* bytes;  // nullptr: refused
  } cases[] = {
      {"", ""},
      {"Zm9vYmFy", "foobar"},
      {"Zm9vYg==", "foob"},
      {"Zm9vYmE=", "fooba"},
      {"Zm9v\r\nYmFy\r\n", "foobar"},  // line breaks of the encoder
      {" Zm9v\tYg== ", "foob"},
      {"Zm=9vYg==", nullptr},  // "=" before the end
      {"Zg=a", nullptr},
      {"Zg===", nullptr},    // three pad characters
      {"Zm9vYg=", nullptr},  // not whole groups
      {"Zm9vYg", nullptr},
      {"Zh==", nullptr},  // pad bits set (lenient: "f")
      {"Zm9vYmF=", nullptr},
      {"Zm9v!Yg==", nullptr},  // outside the alphabet
      {"Zm9v-Yg==", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.bytes == nullptr) {
      EXPECT_THROW((void)base64DecodeStrict(c.text), Error);
    } else {
      EXPECT_EQ(base64DecodeStrict(c.text), c.bytes);
      EXPECT_EQ(base64DecodeText(c.text), c.bytes);
    }
  }
  EXPECT_EQ(base64DecodeText("Zh=="), "f") << "the lenient decode stays lenient";
  for (std::size_t n = 0; n < 120; n += 7) {
    EXPECT_EQ(base64DecodeStrict(base64EncodeText(bytesOfLength(n))), bytesOfLength(n)) << n;
  }
}

}  // namespace
}  // namespace athup::security
