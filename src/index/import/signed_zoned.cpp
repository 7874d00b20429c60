#include "index/import/signed_zoned.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "common/big5.h"
#include "common/errors.h"
#include "common/text_helpers.h"

namespace athup::index {

namespace {

struct ZonedDigit {
  int digit;
  bool negative;
};

std::optional<ZonedDigit> zonedDigit(char c) {
  if (c >= '0' && c <= '9') {
    return ZonedDigit{c - '0', false};
  }
  if (c == '{') {
    return ZonedDigit{0, false};
  }
  if (c == '}') {
    return ZonedDigit{0, true};
  }
  if (c >= 'A' && c <= 'I') {
    return ZonedDigit{c - 'A' + 1, false};
  }
  if (c >= 'J' && c <= 'R') {
    return ZonedDigit{c - 'J' + 1, true};
  }
  return std::nullopt;
}

bool allDigits(std::string_view text) {
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  return true;
}

[[noreturn]] void notANumber(std::string_view text) {
  throw Error("資料內含\"" + common::big5ToUtf8(text) + "\":非數值資料型態！");
}

}  // namespace

SignedZoned parseSignedZoned(std::string_view text) {
  if (common::trimBlanks(text).empty()) {
    return {};
  }
  const auto last = zonedDigit(text.back());
  if (!last) {
    notANumber(text);
  }
  const std::string_view leading = text.substr(0, text.size() - 1);
  SignedZoned result;
  std::int64_t leadingValue = 0;
  if (!allDigits(leading)) {
    result.leadingNotDigits = true;
    const std::string trimmed = common::trimBlanks(leading);
    if (!trimmed.empty()) {
      const auto [end, error] =
          std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), leadingValue);
      if (error != std::errc() || end != trimmed.data() + trimmed.size() || leadingValue < 0) {
        notANumber(text);
      }
    }
  } else if (!leading.empty()) {
    if (leading.size() > 17) {
      notANumber(text);  // beyond what a Paradox number holds exactly
    }
    (void)std::from_chars(leading.data(), leading.data() + leading.size(), leadingValue);
  }
  const double magnitude = static_cast<double>(leadingValue) * 10 + last->digit;
  result.value = last->negative ? -magnitude : magnitude;
  return result;
}

bool hasDigitLeadingPart(std::string_view text) {
  return common::trimBlanks(text).empty() || allDigits(text.substr(0, text.size() - 1));
}

std::string nonNumericFieldMessage(std::string_view text) {
  return "檔案內數值欄位: " + common::big5ToUtf8(text) +
         " ，含有非數值型態字元，請修正後再執行審核作業 !!";
}

}  // namespace athup::index
