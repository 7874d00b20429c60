#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/stderr_interaction.h"

namespace athup::cli {

// The command line's answers to the certificate dialogs: the type given on the command line is
// chosen, and the password or PIN read from a file is typed once; a second request for it (a
// refused PIN) is cancelled, so nothing is ever prompted. Messages go to standard error.
class CertificateInteraction final : public StderrInteraction {
 public:
  CertificateInteraction(std::ostream& err, int typeChoice, std::string secret)
      : StderrInteraction(err), m_typeChoice(typeChoice), m_secret(std::move(secret)) {}

  int chooseItem(const std::string& caption, const std::string& title,
                 const std::vector<std::string>& items) override;
  std::optional<std::string> askSecret(const std::string& caption,
                                       const std::string& prompt) override;

 private:
  int m_typeChoice;
  std::optional<std::string> m_secret;
};

}  // namespace athup::cli
