#include "demo_data/quiet_interaction.h"

namespace athup::demodata {

void QuietInteraction::showMessage(MessageKind, const std::string& text, const std::string&) {
  m_messages.push_back(text);
}

void QuietInteraction::showStatus(StatusKind, const std::string&) {}

std::string QuietInteraction::messages() const {
  std::string text;
  for (const std::string& message : m_messages) text += (text.empty() ? "" : "\n") + message;
  return text;
}

}  // namespace athup::demodata
