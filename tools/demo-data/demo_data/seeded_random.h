#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace athup::demodata {

// A small generator whose sequence depends only on its seed, on every platform and standard
// library (the std distributions are not portable, so none is used).
class SeededRandom {
 public:
  explicit SeededRandom(std::uint64_t seed) : m_state(seed) {}

  // Mixes the seed with a text such as the period, so each period gets its own data.
  SeededRandom(std::uint64_t seed, std::string_view salt);

  std::uint64_t next();

  // A number from 0 to bound - 1; bound must be above 0.
  std::uint64_t below(std::uint64_t bound);

  // A number from low to high, both included.
  std::int64_t between(std::int64_t low, std::int64_t high);

  // A text of the given number of decimal digits (leading zeros allowed).
  std::string digits(std::size_t count);

  // An upper-case letter A-Z.
  char letter();

  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[below(items.size())];
  }

 private:
  std::uint64_t m_state;
};

}  // namespace athup::demodata
