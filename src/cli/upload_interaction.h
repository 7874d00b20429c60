#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/stderr_interaction.h"

namespace athup::cli {

// The command line's interaction for an upload: messages go to standard error, the certificate
// type is the one given, and the password or PIN given is the answer to the first secret asked.
// Nothing is ever prompted for: a secret asked again (the server or the card refused it) and
// every question are declined, which ends the run.
class UploadInteraction final : public StderrInteraction {
 public:
  UploadInteraction(std::ostream& err, int certTypeChoice, std::string secret)
      : StderrInteraction(err), m_certTypeChoice(certTypeChoice), m_secret(std::move(secret)) {}

  std::optional<std::string> askSecret(const std::string& caption,
                                       const std::string& prompt) override;
  int chooseItem(const std::string& caption, const std::string& title,
                 const std::vector<std::string>& items) override;

 private:
  int m_certTypeChoice;
  std::optional<std::string> m_secret;
};

}  // namespace athup::cli
