#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/stderr_interaction.h"

namespace athup::cli {

// The command line's interaction for the index commands: messages go to standard error; a question
// is answered Yes (or OK) when --yes was given and refused otherwise, saying how to answer it; a
// folder question is answered by --folder when given. Status-bar texts are not printed.
class AnsweringInteraction final : public StderrInteraction {
 public:
  AnsweringInteraction(std::ostream& err, bool yes, std::optional<std::string> folder)
      : StderrInteraction(err), m_err(err), m_yes(yes), m_folder(std::move(folder)) {}

  Answer ask(MessageKind kind, const std::string& text, const std::string& caption,
             Buttons buttons) override;
  std::optional<std::string> chooseFolder(const std::string& caption,
                                          const std::string& startFolder) override;
  std::optional<std::string> chooseFile(const std::string& caption, const std::string& startFolder,
                                        const std::string& filter) override;
  std::optional<std::string> askSecret(const std::string& caption,
                                       const std::string& prompt) override;
  void showStatus(StatusKind kind, const std::string& text) override;

  // Whether a question went unanswered for want of --yes.
  [[nodiscard]] bool refusedQuestion() const { return m_refused; }

 private:
  std::ostream& m_err;
  bool m_yes;
  std::optional<std::string> m_folder;
  bool m_refused = false;
};

}  // namespace athup::cli
