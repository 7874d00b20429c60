#include "cli/stderr_interaction.h"

#include <ostream>

namespace athup::cli {

void StderrInteraction::showMessage(MessageKind, const std::string& text,
                                    const std::string& caption) {
  if (!caption.empty()) m_err << caption << ": ";
  m_err << text << '\n';
}

void StderrInteraction::showStatus(StatusKind, const std::string& text) {
  m_err << text << '\n';
}

}  // namespace athup::cli
