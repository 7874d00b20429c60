#include "app/certificate_session.h"

#include "security/certificates/account_password.h"
#include "security/certificates/card_error_table.h"
#include "security/certificates/certificate_type.h"
#include "security/codecs/base64.h"
#include "security/codecs/form_escape.h"

namespace athup::app {
namespace {

constexpr const char* kCaption = "營業稅上傳作業";
constexpr std::string_view kRegistrationValue = "CheckTWCACom";

}  // namespace

CertificateSession::CertificateSession(Interaction& interaction, security::CardClient& card,
                                       SettingsStore& settings, ComponentRegistration registration)
    : m_interaction(interaction),
      m_card(card),
      m_settings(settings),
      m_registration(std::move(registration)) {}

void CertificateSession::chooseCertType() {
  const std::vector<std::string> items(security::kCertTypeChoices.begin(),
                                       security::kCertTypeChoices.end());
  m_certType =
      security::certTypeForChoice(m_interaction.chooseItem(kCaption, "選擇憑證種類", items));
}

bool CertificateSession::askAccountPassword(const std::string& ban) {
  for (;;) {
    const auto password = m_interaction.askSecret(kCaption, "帳號：" + ban + "\n密碼：");
    if (!password) return false;
    if (security::isValidAccountPassword(*password)) {
      m_certPassword = *password;
      return true;
    }
    m_interaction.showMessage(MessageKind::Plain, std::string(security::kAccountPasswordMessage));
  }
}

std::optional<std::string> CertificateSession::makeSeal(std::string_view text,
                                                        const std::string& ban) {
  if (m_certType == security::kCertTypeCard) {
    (void)checkCardCertificate();  // the caller goes on either way; its message has been shown
    const std::string signature = signWithPinDialog(text);
    if (signature.empty()) return std::nullopt;
    return security::escapeFormValue(signature);
  }
  if (!askAccountPassword(ban)) return std::nullopt;
  return security::base64Line(text);
}

std::optional<std::string> CertificateSession::makeUploadSeal(std::string_view text) {
  if (m_certType == security::kCertTypeCard) {
    std::string signature = signWithCard(text, m_cardPin);
    if (signature.empty()) return std::nullopt;
    return signature;
  }
  return security::base64Line(text);
}

void CertificateSession::registerComponentOnce() {
  if (m_settings.readString(kOrbKey, kRegistrationValue) == "Yes") return;
  if (m_registration) {
    if (const auto error = m_registration()) {
      m_interaction.showMessage(MessageKind::Plain, "註冊元件錯誤: " + *error);
    }
  }
  // Tried once per user, whether it worked or not.
  m_settings.writeString(kOrbKey, kRegistrationValue, "Yes");
}

std::string CertificateSession::checkCardCertificate() {
  registerComponentOnce();
  const security::CardCertificate certificate = m_card.readCertificate();
  m_cardStatus = certificate.status;
  if (certificate.identity.empty()) {
    m_interaction.showMessage(MessageKind::Plain,
                              "工商憑證驗證時,發生錯誤 : " + security::cardStatusHex(m_cardStatus) +
                                  security::cardErrorText(m_cardStatus));
  }
  return certificate.identity;
}

std::string CertificateSession::signWithCard(std::string_view text, std::string_view pin) {
  m_cardStatus = 0;
  try {
    security::CardSignature signature = m_card.sign(text, pin);
    m_cardStatus = signature.status;
    return std::move(signature.signedText);
  } catch (const std::exception&) {
    return {};  // the status tells the user what went wrong
  }
}

std::string CertificateSession::signWithPinDialog(std::string_view text) {
  m_pinCancelled = false;
  while (!m_pinCancelled) {
    const auto pin = m_interaction.askSecret("", "請輸入 PIN 碼：");
    if (!pin) {
      m_pinCancelled = true;
      m_cardStatus = security::kCardStatusCancelled;
      break;
    }
    m_cardPin = *pin;
    std::string signature = signWithCard(text, m_cardPin);
    if (m_cardStatus == 0) return signature;
    m_interaction.showMessage(
        MessageKind::Plain,
        "[" + security::cardStatusHex(m_cardStatus) + "]" + security::cardErrorText(m_cardStatus),
        "憑證錯誤");
  }
  return {};
}

}  // namespace athup::app
