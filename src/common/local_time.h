#pragma once

#include <chrono>
#include <ctime>

namespace athup::common {

// The calendar fields of a moment in the workstation's time zone (thread-safe on every platform).
[[nodiscard]] std::tm localTimeParts(std::chrono::system_clock::time_point when);

}  // namespace athup::common
