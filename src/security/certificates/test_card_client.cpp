#include "security/certificates/test_card_client.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "common/errors.h"
#include "security/codecs/base64.h"

namespace athup::security {

std::string TestCardClient::signature(std::string_view text) {
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int macSize = 0;
  if (HMAC(EVP_sha256(), kTestCardKey.data(), static_cast<int>(kTestCardKey.size()),
           reinterpret_cast<const unsigned char*>(text.data()), text.size(), mac,
           &macSize) == nullptr) {
    throw Error("HMAC-SHA256 failed");
  }
  std::string content(text);
  content.append(reinterpret_cast<const char*>(mac), macSize);
  return base64EncodeText(content);
}

CardCertificate TestCardClient::readCertificate() {
  return {kCardStatusOk, "athup test card"};
}

CardSignature TestCardClient::sign(std::string_view text, std::string_view pin) {
  if (pin.empty()) return {0xE6000029, {}};
  if (m_wrongPins >= 2) return {0x6983, {}};
  if (pin != kTestCardPin) {
    ++m_wrongPins;
    return {m_wrongPins == 1 ? 0x63C2U : 0x63C1U, {}};
  }
  m_wrongPins = 0;
  return {kCardStatusOk, signature(text)};
}

}  // namespace athup::security
