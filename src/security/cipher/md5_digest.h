#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace athup::security {

using Md5Value = std::array<std::uint8_t, 16>;

// MD5 (RFC 1321) of the bytes, the key derivation of both file ciphers.
[[nodiscard]] Md5Value md5Digest(std::string_view bytes);

// Overwrites a key in a way the optimiser keeps.
void wipeKey(Md5Value& key);

}  // namespace athup::security
