#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace athup::security {

// The upload cipher pads to whole 16-byte blocks with 1 to 16 bytes, each holding the count in
// binary-coded decimal: 10 is 0x10 and 16 is 0x16, never 0x0A or 0x10 for sixteen.

// The pad byte for a count of 0 to 99.
[[nodiscard]] std::uint8_t bcdByte(std::size_t count);

// The count a pad byte stands for; nullopt when either hexadecimal digit is not a decimal digit.
[[nodiscard]] std::optional<std::size_t> bcdCount(std::uint8_t byte);

// Appends 16 - (size mod 16) pad bytes, so a full block is added to an exact multiple.
void appendBcdPadding(std::string& data);

}  // namespace athup::security
