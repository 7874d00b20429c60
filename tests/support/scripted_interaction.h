#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/interaction.h"

namespace athup::testing {

// The interaction port for tests: records everything shown and answers from queues. An empty
// queue answers the safe default (No / Cancel / nothing chosen).
class ScriptedInteraction : public Interaction {
 public:
  struct Shown {
    std::string what;  // "message", "question" or "status"
    int kind;          // MessageKind or StatusKind as a number
    std::string text;
    std::string caption;
  };

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

  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> choices;  // folders, files and secrets, in order asked
  std::vector<Shown> shown;

  // Texts of the message boxes shown, in order.
  std::vector<std::string> messages() const;
};

}  // namespace athup::testing
