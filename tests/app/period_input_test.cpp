#include "app/period_input.h"

#include <gtest/gtest.h>

#include "support/fixed_clock.h"

namespace athup::app {
namespace {

TEST(PeriodInputTest, DefaultIsTheMonthBeforeToday) {
  EXPECT_EQ(defaultPeriod(testing::FixedClock(2024, 1, 15)), "11212");  // across the year
  EXPECT_EQ(defaultPeriod(testing::FixedClock(2024, 3, 31)), "11302");
  EXPECT_EQ(defaultPeriod(testing::FixedClock(2013, 12, 1)), "10211");
}

TEST(PeriodInputTest, ConfirmationRules) {
  const std::string empty = "所屬年月不可為空白，請重新輸入！";
  const std::string invalid = "日期輸入錯誤，請重新輸入！";
  struct Case {
    const char* typed;
    std::optional<std::string> error;
  };
  const Case cases[] = {
      {"", empty},
      {"10213", invalid},
      {"10200", invalid},
      {"102/13", invalid},
      {"1021", invalid},
      {"10a02", invalid},
      {"10201", std::nullopt},
      {"102/12", std::nullopt},
      {"99901", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(checkPeriodInput(periodFieldValue(c.typed)), c.error);
  }
}

}  // namespace
}  // namespace athup::app
