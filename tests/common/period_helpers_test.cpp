#include "common/period_helpers.h"

#include <gtest/gtest.h>

#include "support/fixed_clock.h"

namespace athup::common {
namespace {

TEST(PeriodArithmetic, MonthCountsAndBack) {
  const std::pair<const char*, int> toMonths[] = {
      {"10212", 102 * 12 + 12},
      {"10201", 102 * 12 + 1},
      {"00001", 1},
      {"1021", 0},
      {"102123", 0},
      {"", 0},
      {"1x212", 12},
      {"102 1", 102 * 12},  // a piece that is not a number counts 0
  };
  for (const auto& [text, months] : toMonths) EXPECT_EQ(ymToMonths(text), months) << text;

  const std::pair<int, const char*> toPeriod[] = {
      {0, ""}, {-5, ""}, {1, "00001"}, {12, "00012"}, {13, "00101"}, {102 * 12 + 12, "10212"},
  };
  for (const auto& [months, text] : toPeriod) EXPECT_EQ(monthsToYM(months), text) << months;

  // The year turns over in both directions.
  EXPECT_EQ(monthsToYM(ymToMonths("10212") + 1), "10301");
  EXPECT_EQ(monthsToYM(ymToMonths("10201") - 1), "10112");
  EXPECT_EQ(monthsToYM(ymToMonths("10211") + 1), "10212");
}

TEST(rocToday, IsTheLocalDateInRocYears) {
  testing::FixedClock clock(2024, 3, 15, 23, 59, 59);
  EXPECT_EQ(rocToday(clock), "1130315");
  clock.set(2012, 1, 1);
  EXPECT_EQ(rocToday(clock), "1010101");
  clock.set(1915, 12, 9);
  EXPECT_EQ(rocToday(clock), "0041209");
}

TEST(isNewOfficeNaming, NeedsBothThePeriodAndTheDate) {
  struct Case {
    const char* period;
    const char* today;
    bool expected;
  };
  const Case cases[] = {
      {"10112", "20130101", true}, {"10111", "20130101", false}, {"10112", "20121231", false},
      {"11301", "20240315", true}, {"09912", "20240315", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(isNewOfficeNaming(c.period, c.today), c.expected) << c.period;
}

}  // namespace
}  // namespace athup::common
