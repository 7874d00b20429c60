#include "common/interaction.h"

namespace athup {

Answer DecliningInteraction::ask(MessageKind kind, const std::string& text,
                                 const std::string& caption, Buttons buttons) {
  showQuestion(kind, text, caption);
  return declinedAnswer(buttons);
}

void DecliningInteraction::showQuestion(MessageKind kind, const std::string& text,
                                        const std::string& caption) {
  showMessage(kind, text, caption);
}

std::optional<std::string> DecliningInteraction::chooseFolder(const std::string&,
                                                              const std::string&) {
  return std::nullopt;
}

std::optional<std::string> DecliningInteraction::chooseFile(const std::string&, const std::string&,
                                                            const std::string&) {
  return std::nullopt;
}

std::optional<std::string> DecliningInteraction::askSecret(const std::string&, const std::string&) {
  return std::nullopt;
}

}  // namespace athup
