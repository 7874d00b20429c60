#pragma once

#include <chrono>

namespace athup {

// Today and now, behind a port so tests can fix the date (period defaults, readme choice, run log).
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::chrono::system_clock::time_point now() const = 0;
};

class SystemClock final : public Clock {
 public:
  std::chrono::system_clock::time_point now() const override {
    return std::chrono::system_clock::now();
  }
};

}  // namespace athup
