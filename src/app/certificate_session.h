#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings_store.h"
#include "common/interaction.h"
#include "security/certificates/card_client.h"
#include "upload/certificate_port.h"

namespace athup::app {

// The certificate the user chose and what goes with it, for the queries and uploads of a run:
// the type, the account password, the card PIN. The password and the PIN stay in memory only;
// nothing here writes them to the run log or a file.
class CertificateSession final : public upload::CertificatePort {
 public:
  // Registers the card's security component once per user; returns an error text or nothing.
  using ComponentRegistration = std::function<std::optional<std::string>()>;

  CertificateSession(Interaction& interaction, security::CardClient& card, SettingsStore& settings,
                     ComponentRegistration registration = {});

  // Asks for the certificate type ("1" or "2").
  void chooseCertType() override;
  // Asks for the account password of `ban` until it is 4-10 letters and digits; false when the
  // user cancels.
  [[nodiscard]] bool askAccountPassword(const std::string& ban);

  // The seal of a query request: type "1" asks the password, then the one-line base64 of the
  // text; type "2" checks the card and signs with a PIN asked for, the signature escaped for the
  // form body. nullopt when the user cancels or no signature arrives (stop without a message).
  [[nodiscard]] std::optional<std::string> makeSeal(std::string_view text,
                                                    const std::string& ban) override;
  // The seal of one file of an upload run: no dialogs, the PIN typed last, no escaping.
  [[nodiscard]] std::optional<std::string> makeUploadSeal(std::string_view text) override;

  // Reads the card's certificate (after the one-time registration); shows the card's error when
  // no identity comes back. Gives the identity text.
  std::string checkCardCertificate();
  // Asks for the PIN and signs until the card accepts it or the user cancels (empty result).
  [[nodiscard]] std::string signWithPinDialog(std::string_view text);
  [[nodiscard]] std::string signWithCard(std::string_view text, std::string_view pin);

  void setCertType(std::string type) { m_certType = std::move(type); }
  [[nodiscard]] const std::string& certType() const override { return m_certType; }
  [[nodiscard]] const std::string& certPassword() const override { return m_certPassword; }
  [[nodiscard]] std::uint32_t cardStatus() const { return m_cardStatus; }
  [[nodiscard]] bool pinCancelled() const { return m_pinCancelled; }

 private:
  void registerComponentOnce();

  Interaction& m_interaction;
  security::CardClient& m_card;
  SettingsStore& m_settings;
  ComponentRegistration m_registration;

  std::string m_certType = "1";
  std::string m_certPassword;
  std::string m_cardPin;
  std::uint32_t m_cardStatus = 0;
  bool m_pinCancelled = false;
};

}  // namespace athup::app
