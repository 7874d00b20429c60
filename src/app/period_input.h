#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"

// The rules of the period-selection window, as the window and the command line call them.
namespace athup::app {

// The value the period field starts with: the month before today's, YYYMM (a day in January 2024
// gives "11212").
[[nodiscard]] std::string defaultPeriod(const Clock& clock);

// The field's value without the "/" of its mask: "113/02" and "11302" both give "11302", and an
// empty masked field ("/") gives "". PeriodField::fromField is the one caller outside the tests.
[[nodiscard]] std::string periodFieldValue(std::string_view typed);

// The error text for a field value that cannot be confirmed, nullopt for a good one: empty gives
// "所屬年月不可為空白，請重新輸入！"; anything but three digits and a month 01-12 gives
// "日期輸入錯誤，請重新輸入！". The year itself is not checked.
[[nodiscard]] std::optional<std::string> checkPeriodInput(std::string_view value);

}  // namespace athup::app
