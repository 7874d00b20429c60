#include "common/number_helpers.h"

#include <charconv>
#include <string>

#include "common/ascii.h"
#include "common/errors.h"
#include "common/text_helpers.h"

namespace athup::common {
namespace {

struct LastCharacter {
  bool known;
  int digit;
  bool negative;
};

// The zoned-decimal meaning of a field's last character.
LastCharacter decodeLast(char c) {
  if (isAsciiDigit(c)) return {true, c - '0', false};
  if (c == '{') return {true, 0, false};
  if (c >= 'A' && c <= 'I') return {true, c - 'A' + 1, false};
  if (c == '}') return {true, 0, true};
  if (c >= 'J' && c <= 'R') return {true, c - 'J' + 1, true};
  return {false, 0, false};
}

[[noreturn]] void throwNonNumeric(std::string_view field) {
  throw Error("資料內含\"" + std::string(field) + "\":非數值資料型態！");
}

}  // namespace

bool isValidBan(std::string_view ban) {
  if (ban.size() != 8 || !isAllDigits(ban)) return false;
  static constexpr int kWeights[8] = {1, 2, 1, 2, 1, 2, 4, 1};
  int sum = 0;
  for (int i = 0; i < 8; ++i) {
    const int product = (ban[static_cast<std::size_t>(i)] - '0') * kWeights[i];
    sum += product / 10 + product % 10;
  }
  return sum % 10 == 0 || (ban[6] == '7' && (sum + 1) % 10 == 0);
}

DecodedNumber decodeSignedNumber(std::string_view field) {
  if (field.empty()) return {};
  const LastCharacter last = decodeLast(field.back());
  if (!last.known) return {};

  std::string_view leading = field.substr(0, field.size() - 1);
  DecodedNumber result;
  bool leadingNegative = false;
  if (!leading.empty() && !isAsciiDigits(leading)) {
    // Not clean; still a whole number once leading blanks go ("  12", "-0012", "+0012")?
    while (!leading.empty() && leading.front() == ' ') leading.remove_prefix(1);
    if (!leading.empty() && (leading.front() == '+' || leading.front() == '-')) {
      leadingNegative = leading.front() == '-';
      leading.remove_prefix(1);
    }
    if (!isAsciiDigits(leading)) throwNonNumeric(field);
    result.warning = "檔案內數值欄位: " + std::string(field) +
                     " ，含有非數值型態字元，請修正後再執行審核作業 !!";
  }
  std::uint64_t magnitude = 0;
  if (!leading.empty()) {
    const auto [end, error] =
        std::from_chars(leading.data(), leading.data() + leading.size(), magnitude);
    (void)end;
    if (error != std::errc{}) throwNonNumeric(field);
  }
  // magnitude * 10 + digit must fit an int64 with either sign.
  constexpr std::uint64_t kMax = static_cast<std::uint64_t>(INT64_MAX);
  if (magnitude > (kMax - static_cast<std::uint64_t>(last.digit)) / 10) throwNonNumeric(field);
  const auto value =
      static_cast<std::int64_t>(magnitude * 10 + static_cast<std::uint64_t>(last.digit));
  result.value = (last.negative != leadingNegative) ? -value : value;
  return result;
}

}  // namespace athup::common
