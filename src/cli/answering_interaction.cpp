#include "cli/answering_interaction.h"

#include <ostream>

namespace athup::cli {

Answer AnsweringInteraction::ask(MessageKind kind, const std::string& text,
                                 const std::string& caption, Buttons buttons) {
  showMessage(kind, text, caption);
  if (buttons == Buttons::Ok) {
    return Answer::Ok;
  }
  if (m_yes) {
    m_err << "(answered " << (buttons == Buttons::OkCancel ? "OK" : "Yes") << " by --yes)\n";
    return buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
  }
  m_refused = true;
  m_err << "(not answered: pass --yes to answer Yes; nothing was done for this question)\n";
  return declinedAnswer(buttons);
}

std::optional<std::string> AnsweringInteraction::chooseFolder(const std::string& caption,
                                                              const std::string&) {
  if (!m_folder) {
    m_err << caption << ": no folder given (pass --folder DIR)\n";
  }
  return m_folder;
}

std::optional<std::string> AnsweringInteraction::chooseFile(const std::string& caption,
                                                            const std::string&,
                                                            const std::string&) {
  m_err << caption << ": no file can be chosen here\n";
  return std::nullopt;
}

std::optional<std::string> AnsweringInteraction::askSecret(const std::string& caption,
                                                           const std::string&) {
  m_err << caption << ": no secret can be entered here\n";
  return std::nullopt;
}

// Status-bar texts (the period line, the database folder) would only repeat what the command
// was given; what needs reading comes as a message.
void AnsweringInteraction::showStatus(StatusKind, const std::string&) {}

}  // namespace athup::cli
