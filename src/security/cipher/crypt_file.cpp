#include "security/cipher/crypt_file.h"

#include <exception>
#include <string>
#include <system_error>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "security/cipher/receipt_file_cipher.h"

namespace athup::security {
namespace {

constexpr std::string_view kVersionFilePw = "renewSealWord";

bool samePath(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  if (std::filesystem::equivalent(a, b, error)) return true;
  return a.lexically_normal() == b.lexically_normal();
}

std::filesystem::path withTmpEnding(const std::filesystem::path& path) {
  auto result = path;
  result += "tmp";
  return result;
}

void removeQuietly(const std::filesystem::path& path) {
  std::error_code ignored;  // cleaning up after a failure that is already being reported
  std::filesystem::remove(path, ignored);
}

}  // namespace

void cryptFileWithPassword(const std::filesystem::path& source,
                           const std::filesystem::path& destination, CryptMode mode,
                           std::string_view password) {
  const bool inPlace = !destination.empty() && samePath(source, destination);
  const auto output = inPlace ? withTmpEnding(destination) : destination;
  ReceiptFileCipher cipher(TaxSystem::ORB);
  cipher.setSource(source);
  cipher.setDestination(output);
  cipher.setPassword(std::string(password));
  if (mode == CryptMode::Encrypt) {
    cipher.encrypt();
  } else {
    cipher.decrypt();
  }
  if (inPlace) {
    // The rename replaces the source in one step, so it is never lost half-way.
    std::error_code error;
    std::filesystem::rename(output, source, error);
    if (error) {
      removeQuietly(output);
      throw Error("Cannot create file \"" + common::utf8FromPath(source) + "\".");
    }
  }
}

void cryptFileByMode(const std::filesystem::path& source, const std::filesystem::path& destination,
                     CryptMode mode) {
  cryptFileWithPassword(source, destination, mode, kVersionFilePw);
}

}  // namespace athup::security
