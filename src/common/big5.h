#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Text is UTF-8 inside the program; filing files, result files, request bodies and the run log are
// Big5 (code page 950). Widths that the filing formats give in bytes are Big5 bytes.
namespace athup::common {

// User-defined characters (Big5 rows 81-8D, 8E-A0, C6-C8 and FA-FE) map to and from the private
// use area U+E000-U+F848 the way code page 950 on Windows maps them, so they survive a round trip.

// Converts UTF-8 to Big5. A character that Big5 cannot hold raises athup::Error naming it.
[[nodiscard]] std::string utf8ToBig5(std::string_view utf8);

// Converts UTF-8 to Big5, writing `replacement` for every character Big5 cannot hold and for
// every invalid UTF-8 byte. For logs and sort keys, where one odd character must not fail the
// whole text.
[[nodiscard]] std::string utf8ToBig5Lossy(std::string_view utf8, char replacement = '?');

// Converts Big5 to UTF-8. A byte sequence that is not Big5 becomes U+FFFD, so damaged filing
// files still read (their bytes are kept elsewhere for checksums).
[[nodiscard]] std::string big5ToUtf8(std::string_view big5);

// Converts every text in place as big5ToUtf8 would, with one converter for all of them: for
// lists of many short names, where opening a converter per name costs more than converting.
void big5ToUtf8Each(std::span<std::string> texts);

// True for the first byte of a double-byte Big5 character.
[[nodiscard]] constexpr bool isBig5LeadByte(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

// Number of bytes the UTF-8 text takes in Big5 (a character Big5 cannot hold counts 2).
[[nodiscard]] std::size_t big5Width(std::string_view utf8);

// The longest prefix of the UTF-8 text whose Big5 form has at most maxBytes bytes; a double-byte
// character is never split.
[[nodiscard]] std::string cutToBig5Width(std::string_view utf8, std::size_t maxBytes);

}  // namespace athup::common
