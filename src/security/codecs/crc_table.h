#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The CRC-32 table shared by the stream checksum and the file checksum: entry n is n after eight
// rounds of "shift right, XOR 0xEDB88320 when a 1 fell out".
namespace athup::security {

[[nodiscard]] constexpr std::array<std::uint32_t, 256> makeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int round = 0; round < 8; ++round) c = (c & 1u) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    table[n] = c;
  }
  return table;
}

inline constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

// The table as the 1,024-byte little-endian image the filing program indexes by byte offset.
[[nodiscard]] constexpr std::array<std::uint8_t, 1024> makeCrcTableImage() {
  std::array<std::uint8_t, 1024> image{};
  for (std::size_t n = 0; n < 256; ++n) {
    for (std::size_t b = 0; b < 4; ++b) {
      image[4 * n + b] = static_cast<std::uint8_t>(kCrcTable[n] >> (8 * b));
    }
  }
  return image;
}

inline constexpr std::array<std::uint8_t, 1024> kCrcTableImage = makeCrcTableImage();

}  // namespace athup::security
