#pragma once

#include <openssl/evp.h>

#include <string>
#include <string_view>

// Building blocks of the cipher tests' reference computations, written independently of the
// cipher code: hexadecimal vectors and OpenSSL's own MD5.
namespace athup::security::reference {

inline std::string fromHex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

inline std::string md5(std::string_view bytes) {
  unsigned char out[16];
  unsigned int length = 0;
  EVP_Digest(bytes.data(), bytes.size(), out, &length, EVP_md5(), nullptr);
  return std::string(reinterpret_cast<char*>(out), 16);
}

}  // namespace athup::security::reference
