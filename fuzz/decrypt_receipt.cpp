// The receipt-file decryption on arbitrary bytes, with and without a valid checksum text in front
// so the header and body stages are reached too; encryptable input must round-trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/errors.h"
#include "security/cipher/receipt_file_cipher.h"
#include "security/codecs/stream_checksum.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool stampChecksum = (data[0] & 1) != 0;
  const bool checkCrc = (data[0] & 2) == 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

  athup::security::ReceiptFileCipher cipher;
  cipher.setClearPassword(false);
  cipher.setCheckCrc(checkCrc);
  cipher.setPassword("12345678");
  const std::string input = stampChecksum && checkCrc
                                ? athup::security::standardCrc32Text(rest) + std::string(rest)
                                : std::string(rest);
  try {
    (void)cipher.decryptBytes(input);
  } catch (const athup::Error&) {
  }

  try {
    const std::string stored = cipher.encryptBytes(rest);
    if (stored.size() != rest.size() + 16 + (checkCrc ? 8 : 0)) std::abort();
    if (cipher.decryptBytes(stored) != rest) std::abort();
  } catch (const athup::Error&) {
    // Only too-short input may be refused.
    if (rest.size() >= (checkCrc ? 9u : 1u)) std::abort();
  }
  return 0;
}
