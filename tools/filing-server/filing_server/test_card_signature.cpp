#include "filing_server/test_card_signature.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "common/errors.h"
#include "security/codecs/base64.h"

namespace athup::filing_server {
namespace {

constexpr std::size_t kMacSize = 32;

std::string mac(std::string_view text) {
  unsigned char out[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  const unsigned char* done =
      HMAC(EVP_sha256(), kTestCardKey.data(), static_cast<int>(kTestCardKey.size()),
           reinterpret_cast<const unsigned char*>(text.data()), text.size(), out, &size);
  if (done == nullptr || size != kMacSize) throw Error("test card: HMAC failed");
  return std::string(reinterpret_cast<const char*>(out), size);
}

}  // namespace

std::string testCardSign(std::string_view text) {
  std::string content(text);
  content += mac(text);
  return security::base64EncodeText(content);
}

std::optional<std::string> testCardSignedText(std::string_view signature) {
  const std::string content = security::base64DecodeText(signature);
  if (content.size() < kMacSize) return std::nullopt;
  const std::string_view text(content.data(), content.size() - kMacSize);
  const std::string expected = mac(text);
  if (CRYPTO_memcmp(expected.data(), content.data() + text.size(), kMacSize) != 0) {
    return std::nullopt;
  }
  return std::string(text);
}

}  // namespace athup::filing_server
