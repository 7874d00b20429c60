#include "cli/stderr_interaction.h"

#include <ostream>

namespace athup::cli {

void StderrInteraction::showMessage(MessageKind, const std::string& text,
                                    const std::string& caption) {
  if (!caption.empty()) m_err << caption << ": ";
  m_err << text << '\n';
}

Answer StderrInteraction::ask(MessageKind kind, const std::string& text, const std::string& caption,
                              Buttons buttons) {
  showMessage(kind, text, caption);
  return buttons == Buttons::OkCancel ? Answer::Cancel : Answer::No;
}

std::optional<std::string> StderrInteraction::chooseFolder(const std::string&, const std::string&) {
  return std::nullopt;
}

std::optional<std::string> StderrInteraction::chooseFile(const std::string&, const std::string&,
                                                         const std::string&) {
  return std::nullopt;
}

std::optional<std::string> StderrInteraction::askSecret(const std::string&, const std::string&) {
  return std::nullopt;
}

void StderrInteraction::showStatus(StatusKind, const std::string& text) { m_err << text << '\n'; }

}  // namespace athup::cli
