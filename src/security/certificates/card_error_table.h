#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace athup::security {

// The card security client's status codes with their messages, "CODE=message" (147 entries).
[[nodiscard]] std::span<const std::string_view> cardErrorTable();

// The message of a status: empty for 0; otherwise the message of the last entry whose text holds
// the status in upper-case hexadecimal (no leading zeros) anywhere; empty when none does.
[[nodiscard]] std::string cardErrorText(std::uint32_t status);

// The status in upper-case hexadecimal without leading zeros ("0" for 0).
[[nodiscard]] std::string cardStatusHex(std::uint32_t status);

}  // namespace athup::security
