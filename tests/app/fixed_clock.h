#pragma once

#include <chrono>

#include "common/clock.h"

namespace athup::app::testing {

// A clock standing at noon (UTC) of one day, so the local date is that day in every time zone
// from UTC-11 to UTC+11.
class FixedClock final : public Clock {
 public:
  FixedClock(int year, unsigned month, unsigned day)
      : m_now(std::chrono::sys_days(std::chrono::year(year) / std::chrono::month(month) /
                                    std::chrono::day(day)) +
              std::chrono::hours(12)) {}
  std::chrono::system_clock::time_point now() const override { return m_now; }

 private:
  std::chrono::system_clock::time_point m_now;
};

}  // namespace athup::app::testing
