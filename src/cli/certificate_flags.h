#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "app/certificate_session.h"
#include "app/settings_store.h"
#include "cli/certificate_interaction.h"
#include "cli/index_options.h"
#include "security/certificates/card_client.h"
#include "security/certificates/test_card_client.h"

namespace athup::cli {

// The certificate flags of the commands that talk to the filing server: --cert-type 1 with
// --password-file F, or 2 with --pin-file F ("-": standard input), and --test-card for the
// simulator's card. The secret is read at once; mistakes raise UsageError, an unreadable secret
// athup::Error.
class CertificateFlags {
 public:
  CertificateFlags(const IndexOptions& options, std::istream& in, std::ostream& err);
  CertificateFlags(const CertificateFlags&) = delete;
  CertificateFlags& operator=(const CertificateFlags&) = delete;

  // Answers the certificate dialogs from the flags; every other message goes to standard error.
  [[nodiscard]] CertificateInteraction& interaction() { return *m_interaction; }
  // The certificate session on the chosen card, made on the first call.
  [[nodiscard]] app::CertificateSession& certificate(app::SettingsStore& settings);

 private:
  bool m_testCard = false;
  std::optional<CertificateInteraction> m_interaction;
  security::NoCardClient m_noCard;
  security::TestCardClient m_testCardClient;
  std::optional<app::CertificateSession> m_certificate;
};

}  // namespace athup::cli
