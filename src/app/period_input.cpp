#include "app/period_input.h"

#include <algorithm>

#include "app/app_texts.h"
#include "common/ascii.h"
#include "common/period_helpers.h"

namespace athup::app {
namespace {

bool allDigits(std::string_view text) {
  return common::isAsciiDigits(text) || text.empty();
}

}  // namespace

std::string defaultPeriod(const Clock& clock) {
  const std::string thisMonth = common::rocToday(clock).substr(0, 5);
  return common::monthsToYM(common::ymToMonths(thisMonth) - 1);
}

std::string periodFieldValue(std::string_view typed) {
  // The mask shows its "/" whether or not the digits around it are filled in.
  std::string value;
  for (char c : typed) {
    if (c != '/') value.push_back(c);
  }
  return value;
}

std::optional<std::string> checkPeriodInput(std::string_view value) {
  if (value.empty()) return std::string(texts::kPeriodEmpty);
  // A half-filled field ("1021") would otherwise become a four-character period whose month
  // arithmetic gives nonsense folders; the mask admits digits only, so demand all five.
  if (value.size() != 5 || !allDigits(value)) return std::string(texts::kPeriodInvalid);
  const int month = (value[3] - '0') * 10 + (value[4] - '0');
  if (month < 1 || month > 12) return std::string(texts::kPeriodInvalid);
  return std::nullopt;
}

}  // namespace athup::app
