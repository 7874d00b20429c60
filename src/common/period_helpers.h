#pragma once

#include <string>
#include <string_view>

#include "common/clock.h"

// Period arithmetic on ROC periods: a period text YYYMM (ROC year, Gregorian year - 1911, three
// digits; month two digits) counts as year * 12 + month.
namespace athup::common {

// 0 unless the text has exactly 5 characters; else year * 12 + month, where a piece that is not a
// plain number counts 0.
[[nodiscard]] int ymToMonths(std::string_view period);

// The period of a month count: 0 (and any negative count) gives ""; December is month 12 of its
// year, so monthsToYM(ymToMonths("10212") + 1) is "10301".
[[nodiscard]] std::string monthsToYM(int months);

// Local today as ROC YYYMMDD, for example "1130315".
[[nodiscard]] std::string rocToday(const Clock& clock);

// True when the period (as text) is at or after "10112" and today ("YYYYMMDD", Gregorian) is at
// or after "20130101": the receipt then prints the tax offices' new names.
[[nodiscard]] bool isNewOfficeNaming(std::string_view period, std::string_view todayYYYYMMDD);

}  // namespace athup::common
