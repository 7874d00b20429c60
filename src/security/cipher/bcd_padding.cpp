#include "security/cipher/bcd_padding.h"

namespace athup::security {

namespace {
constexpr std::size_t kBlock = 16;
}

std::uint8_t bcdByte(std::size_t count) {
  return static_cast<std::uint8_t>(((count / 10 % 10) << 4) | (count % 10));
}

std::optional<std::size_t> bcdCount(std::uint8_t byte) {
  const std::size_t high = byte >> 4;
  const std::size_t low = byte & 0x0Fu;
  if (high > 9 || low > 9) return std::nullopt;
  return high * 10 + low;
}

void appendBcdPadding(std::string& data) {
  const std::size_t count = kBlock - data.size() % kBlock;
  data.append(count, static_cast<char>(bcdByte(count)));
}

}  // namespace athup::security
