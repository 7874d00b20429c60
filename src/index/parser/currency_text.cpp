#include "index/parser/currency_text.h"

#include <charconv>
#include <cmath>

#include "common/ascii.h"

namespace athup::index {
namespace {

bool isDigit(char ch) {
  return common::isAsciiDigit(ch);
}

// Checks [sign] digits [. digits] [e [sign] digits] with at least one mantissa digit, so the
// texts from_chars would also take ("inf", "nan", hexadecimal) do not slip through.
bool isDecimal(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == text.size();
}

}  // namespace

double textToCurrency(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!isDecimal(text)) return 0;
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  // The currency range: about nine hundred trillion with four decimals.
  if (!std::isfinite(value) || value > 922337203685477.0) return 0;
  value = std::round(value * 10000.0) / 10000.0;
  return negative ? -value : value;
}

}  // namespace athup::index
