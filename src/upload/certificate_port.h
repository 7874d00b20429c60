#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace athup::upload {

// The user's certificate as the requests and uploads use it. The program's certificate session
// implements it with the certificate-type, password and PIN dialogs; the command line with its
// flags. Cancelling a dialog gives nullopt: the flow stops without a further message.
class CertificatePort {
 public:
  virtual ~CertificatePort() = default;
  // Asks for the certificate type of this request, "1" (account and password) or "2" (card).
  virtual void chooseCertType() = 0;
  [[nodiscard]] virtual const std::string& certType() const = 0;
  // The account password the dialog stored last (empty when it was never asked).
  [[nodiscard]] virtual const std::string& certPassword() const = 0;
  // The seal of a query or pre-upload request: type "1" asks the password, then the one-line
  // base64 of the text; type "2" signs with the card, the signature escaped for the form body.
  [[nodiscard]] virtual std::optional<std::string> makeSeal(std::string_view text,
                                                            const std::string& ban) = 0;
  // The seal of one uploaded file: no dialog, the PIN typed for the request, no escaping.
  [[nodiscard]] virtual std::optional<std::string> makeUploadSeal(std::string_view text) = 0;
};

}  // namespace athup::upload
