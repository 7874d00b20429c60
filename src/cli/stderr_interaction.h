#pragma once

#include <iosfwd>

#include "common/interaction.h"

namespace athup::cli {

// The command line's answer to the interaction port: message boxes and status texts become lines
// on standard error, and nothing is asked (questions answer No or Cancel, choices are cancelled).
class StderrInteraction final : public Interaction {
 public:
  explicit StderrInteraction(std::ostream& err) : m_err(err) {}

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

 private:
  std::ostream& m_err;
};

}  // namespace athup::cli
