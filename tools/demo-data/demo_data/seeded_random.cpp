#include "demo_data/seeded_random.h"

#include <stdexcept>

namespace athup::demodata {

SeededRandom::SeededRandom(std::uint64_t seed, std::string_view salt) : m_state(seed) {
  // FNV-1a of the salt, folded into the seed
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (unsigned char c : salt) {
    hash ^= c;
    hash *= 0x100000001B3ULL;
  }
  m_state ^= hash;
  next();
}

// splitmix64
std::uint64_t SeededRandom::next() {
  m_state += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = m_state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint64_t SeededRandom::below(std::uint64_t bound) {
  if (bound == 0) throw std::invalid_argument("SeededRandom::below needs a bound above 0");
  // rejection keeps the numbers evenly spread
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
  std::uint64_t value = next();
  while (value >= limit) value = next();
  return value % bound;
}

std::int64_t SeededRandom::between(std::int64_t low, std::int64_t high) {
  if (high < low) throw std::invalid_argument("SeededRandom::between needs low <= high");
  return low + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(high - low) + 1));
}

std::string SeededRandom::digits(std::size_t count) {
  std::string text;
  text.reserve(count);
  for (std::size_t i = 0; i < count; ++i) text += static_cast<char>('0' + below(10));
  return text;
}

char SeededRandom::letter() {
  return static_cast<char>('A' + below(26));
}

}  // namespace athup::demodata
