#pragma once

#include <filesystem>
#include <string_view>

namespace athup::security {

enum class CryptMode { Encrypt, Decrypt };

// Encrypts or decrypts a file with the receipt-file cipher under this program's system code. A
// destination equal to the source is replaced in place through the destination name followed by
// "tmp". Any failure raises athup::Error with the cipher's text; the source is then untouched and
// no "tmp" file or partial destination is left. The flow that called it shows the text.
void cryptFileWithPassword(const std::filesystem::path& source,
                           const std::filesystem::path& destination, CryptMode mode,
                           std::string_view password);

// The same with the password of the version record.
void cryptFileByMode(const std::filesystem::path& source, const std::filesystem::path& destination,
                     CryptMode mode);

}  // namespace athup::security
