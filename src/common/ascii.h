#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// ASCII-only character tests and case changes. Filing files and settings are Big5 or UTF-8, whose
// multi-byte characters never contain bytes below 0x80, so these never touch a Chinese character
// (unlike <cctype>, which depends on the locale and is undefined for negative chars).
namespace athup::common {

[[nodiscard]] constexpr bool isAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

[[nodiscard]] constexpr bool isAsciiUpper(char c) {
  return c >= 'A' && c <= 'Z';
}

[[nodiscard]] constexpr bool isAsciiLower(char c) {
  return c >= 'a' && c <= 'z';
}

[[nodiscard]] constexpr char toUpperAscii(char c) {
  return isAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}

[[nodiscard]] constexpr char toLowerAscii(char c) {
  return isAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when every byte is 7-bit ASCII (so the text reads the same in Big5 and UTF-8).
[[nodiscard]] constexpr bool isAsciiOnly(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// True for a non-empty text of '0'..'9' only (no trimming, no sign).
[[nodiscard]] constexpr bool isAsciiDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

[[nodiscard]] inline std::string upperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = toUpperAscii(c);
  return out;
}

[[nodiscard]] inline std::string lowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = toLowerAscii(c);
  return out;
}

// Equal apart from the case of ASCII letters, as Windows compares file, section and key names.
[[nodiscard]] constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return toLowerAscii(x) == toLowerAscii(y);
         });
}

}  // namespace athup::common
