#include "app/period_input.h"

#include <gtest/gtest.h>

#include "app/period_field.h"
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

TEST(PeriodInputTest, FromFieldGivesTheCheckedPeriodOrTheWindowsErrorText) {
  struct Case {
    const char* typed;
    const char* dataYM;  // nullptr when refused
    const char* error;
  };
  const Case cases[] = {
      {"113/10", "11310", ""},
      {"11310", "11310", ""},
      {"/", nullptr, "所屬年月不可為空白，請重新輸入！"},  // the empty masked field
      {"", nullptr, "所屬年月不可為空白，請重新輸入！"},
      {"10/", nullptr, "日期輸入錯誤，請重新輸入！"},  // half filled
      {"113/00", nullptr, "日期輸入錯誤，請重新輸入！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const auto result = PeriodField::fromField(c.typed);
    if (c.dataYM) {
      ASSERT_TRUE(std::holds_alternative<PeriodField>(result));
      EXPECT_EQ(std::get<PeriodField>(result).dataYM(), c.dataYM);
    } else {
      ASSERT_TRUE(std::holds_alternative<std::string>(result));
      EXPECT_EQ(std::get<std::string>(result), c.error);
    }
  }
}

}  // namespace
}  // namespace athup::app
