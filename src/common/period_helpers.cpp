#include "common/period_helpers.h"

#include <charconv>
#include <cstdio>
#include <ctime>

#include "common/local_time.h"
#include "common/text_helpers.h"

namespace athup::common {
namespace {

// A plain number, or 0 for anything else (blanks, signs, letters).
int numberOrZero(std::string_view piece) {
  int value = 0;
  if (piece.empty()) return 0;
  for (char c : piece) {
    if (c < '0' || c > '9') return 0;
  }
  std::from_chars(piece.data(), piece.data() + piece.size(), value);
  return value;
}

}  // namespace

int ymToMonths(std::string_view period) {
  if (period.size() != 5) return 0;
  return numberOrZero(period.substr(0, 3)) * 12 + numberOrZero(period.substr(3, 2));
}

std::string monthsToYM(int months) {
  if (months <= 0) return {};
  if (months % 12 != 0) {
    return padLeft(std::to_string(months / 12), 3, "0") +
           padLeft(std::to_string(months % 12), 2, "0");
  }
  return padLeft(std::to_string((months - 1) / 12), 3, "0") + "12";
}

std::string rocToday(const Clock& clock) {
  const std::tm today = localTimeParts(clock.now());
  char text[32];
  std::snprintf(text, sizeof text, "%.03d%.02d%.02d", today.tm_year + 1900 - 1911, today.tm_mon + 1,
                today.tm_mday);
  return text;
}

bool isNewOfficeNaming(std::string_view period, std::string_view todayYYYYMMDD) {
  return period >= "10112" && todayYYYYMMDD >= "20130101";
}

}  // namespace athup::common
