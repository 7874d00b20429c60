#include "cli/upload_interaction.h"

namespace athup::cli {

std::optional<std::string> UploadInteraction::askSecret(const std::string& caption,
                                                        const std::string& prompt) {
  (void)caption;
  (void)prompt;
  std::optional<std::string> secret = std::move(m_secret);
  m_secret.reset();
  return secret;
}

int UploadInteraction::chooseItem(const std::string& caption, const std::string& title,
                                  const std::vector<std::string>& items) {
  (void)caption;
  (void)title;
  (void)items;
  return m_certTypeChoice;
}

}  // namespace athup::cli
