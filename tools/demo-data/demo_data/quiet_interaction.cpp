#include "demo_data/quiet_interaction.h"

namespace athup::demodata {

void QuietInteraction::showMessage(MessageKind, const std::string& text, const std::string&) {
  m_messages.push_back(text);
}

Answer QuietInteraction::ask(MessageKind, const std::string& text, const std::string&,
                             Buttons buttons) {
  m_messages.push_back(text);
  return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<std::string> QuietInteraction::chooseFolder(const std::string&, const std::string&) {
  return std::nullopt;
}

std::optional<std::string> QuietInteraction::chooseFile(const std::string&, const std::string&,
                                                        const std::string&) {
  return std::nullopt;
}

std::optional<std::string> QuietInteraction::askSecret(const std::string&, const std::string&) {
  return std::nullopt;
}

void QuietInteraction::showStatus(StatusKind, const std::string&) {}

std::string QuietInteraction::messages() const {
  std::string text;
  for (const std::string& message : m_messages) text += (text.empty() ? "" : "\n") + message;
  return text;
}

}  // namespace athup::demodata
