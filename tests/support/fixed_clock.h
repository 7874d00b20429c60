#pragma once

#include <ctime>

#include "common/clock.h"

namespace athup::testing {

// A clock stopped at a local wall-clock time, so dates come out the same in every time zone.
class FixedClock final : public Clock {
 public:
  FixedClock(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    set(year, month, day, hour, minute, second);
  }

  void set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    m_now = std::chrono::system_clock::from_time_t(std::mktime(&parts));
  }

  std::chrono::system_clock::time_point now() const override { return m_now; }

 private:
  std::chrono::system_clock::time_point m_now;
};

}  // namespace athup::testing
