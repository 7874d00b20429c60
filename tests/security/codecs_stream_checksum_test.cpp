#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "security/codecs/stream_checksum.h"

namespace athup::security {
namespace {

// Standard CRC-32 check values: the CRC catalogue's "123456789", the common pangram, and the
// values of the encryption stage's own examples.
TEST(StreamChecksum, KnownVectors) {
  const struct {
    std::string input;
    std::string text;
  } cases[] = {
      {"", "00000000"},
      {"abc", "352441C2"},
      {"123456789", "CBF43926"},
      {"The quick brown fox jumps over the lazy dog", "414FA339"},
      {std::string(1, '\0'), "D202EF8D"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(standardCrc32Text(c.input), c.text) << c.input;
    std::istringstream stream(c.input);
    EXPECT_EQ(StreamChecksum().standardCrc32Text(stream), c.text) << c.input;
  }
}

TEST(StreamChecksum, HexTextKeepsLeadingZeros) {
  EXPECT_EQ(crc32HexText(0x0000ABCDu), "0000ABCD");
  EXPECT_EQ(crc32HexText(0xFFFFFFFFu), "FFFFFFFF");
}

TEST(StreamChecksum, UpdateInPiecesEqualsWhole) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  std::uint32_t crc = 0;
  for (std::size_t i = 0; i < text.size(); i += 5)
    crc = standardCrc32Update(crc, text.substr(i, 5));
  EXPECT_EQ(crc, standardCrc32(text));
}

TEST(StreamChecksum, StreamIsReadFromStartAndLeftAtEnd) {
  // Larger than one read block, and already positioned at its end by the writer.
  std::string big(200000, 'x');
  for (std::size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>(i);
  std::stringstream stream;
  stream << big;
  stream.seekg(0, std::ios::end);
  StreamChecksum crc;
  EXPECT_EQ(crc.standardCrc32Text(stream), standardCrc32Text(big));
  EXPECT_EQ(static_cast<std::size_t>(stream.tellg()), big.size());
  EXPECT_EQ(crc.version(), "2010008-001");
}

}  // namespace
}  // namespace athup::security
