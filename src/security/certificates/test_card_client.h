#pragma once

#include <string>
#include <string_view>

#include "security/certificates/card_client.h"

namespace athup::security {

// A deterministic card for tests and the demo, accepted by the filing-server simulator:
//   signature = base64 (76-character lines, CR LF) of text || HMAC-SHA256(kTestCardKey, text)
// It accepts the PIN kTestCardPin; a wrong PIN gives status 63C2, then 63C1, then 6983 (locked)
// for every later try, as a card counts down its tries. An empty PIN gives E6000029.
class TestCardClient final : public CardClient {
 public:
  static constexpr std::string_view kTestCardKey = "athup test card";
  static constexpr std::string_view kTestCardPin = "123456";

  [[nodiscard]] CardCertificate readCertificate() override;
  [[nodiscard]] CardSignature sign(std::string_view text, std::string_view pin) override;

  // The signature the card gives for a text, whatever the PIN.
  [[nodiscard]] static std::string signature(std::string_view text);

 private:
  int m_wrongPins = 0;
};

}  // namespace athup::security
