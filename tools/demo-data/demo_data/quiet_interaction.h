#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/interaction.h"

namespace athup::demodata {

// The demo data program has nobody to ask: messages the core shows are kept so the caller can
// report them as the failure they are, and every question is cancelled.
class QuietInteraction final : public Interaction {
 public:
  void showMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
  Answer ask(MessageKind kind, const std::string& text, const std::string& caption,
             Buttons buttons) override;
  std::optional<std::string> chooseFolder(const std::string& caption,
                                          const std::string& startFolder) override;
  std::optional<std::string> chooseFile(const std::string& caption, const std::string& startFolder,
                                        const std::string& filter) override;
  std::optional<std::string> askSecret(const std::string& caption,
                                       const std::string& prompt) override;
  void showStatus(StatusKind kind, const std::string& text) override;

  // The messages shown so far joined by line breaks; empty when none.
  [[nodiscard]] std::string messages() const;

 private:
  std::vector<std::string> m_messages;
};

}  // namespace athup::demodata
