#include "cli/certificate_interaction.h"

namespace athup::cli {

int CertificateInteraction::chooseItem(const std::string&, const std::string&,
                                       const std::vector<std::string>&) {
  return m_typeChoice;
}

std::optional<std::string> CertificateInteraction::askSecret(const std::string&,
                                                             const std::string&) {
  std::optional<std::string> secret;
  secret.swap(m_secret);
  return secret;
}

}  // namespace athup::cli
