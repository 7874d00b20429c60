#pragma once

#include <string>
#include <vector>

#include "common/declining_interaction.h"

namespace athup::demodata {

// The demo data program has nobody to ask: messages the core shows (and declined questions) are
// kept so the caller can report them as the failure they are.
class QuietInteraction final : public DecliningInteraction {
 public:
  void showMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
  void showStatus(StatusKind kind, const std::string& text) override;

  // The messages shown so far joined by line breaks; empty when none.
  [[nodiscard]] std::string messages() const;

 private:
  std::vector<std::string> m_messages;
};

}  // namespace athup::demodata
