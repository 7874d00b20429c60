// The upload-cipher decryption on arbitrary bytes: it must fail only with its own error, and
// anything encryptable must come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/errors.h"
#include "security/cipher/upload_cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  athup::security::UploadCipher cipher;
  cipher.setPassword("12345678");
  try {
    cipher.decryptBytes(bytes);
  } catch (const athup::Error&) {
  }

  if (size >= 48) {
    cipher.encryptBytes(bytes);
    const std::size_t expected = 16 * ((size + 8) / 16 + 1);
    if (cipher.resultText().size() != expected) std::abort();
    const std::string encrypted = cipher.resultText();
    cipher.decryptBytes(encrypted);
    if (cipher.resultText() != bytes) std::abort();
  }
  return 0;
}
