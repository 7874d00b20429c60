#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/interaction.h"

namespace athup::testing {

// The interaction port for tests: records everything shown and answers from queues. An empty
// queue declines, as the command line does (declinedAnswer, nothing chosen).
class ScriptedInteraction : public DecliningInteraction {
 public:
  struct Shown {
    std::string what;  // "message", "question", "secret", "choice" or "status"
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
  // Answers from `items`; the first item when the queue is empty.
  int chooseItem(const std::string& caption, const std::string& title,
                 const std::vector<std::string>& list) override;

  std::deque<Answer> answers;
  std::deque<int> items;                           // indexes for chooseItem, in order asked
  std::deque<std::optional<std::string>> choices;  // folders, files and secrets, in order asked
  std::vector<Shown> shown;

  // Texts of the message boxes shown, in order.
  std::vector<std::string> messages() const;

 protected:
  void showQuestion(MessageKind kind, const std::string& text, const std::string& caption) override;

 private:
  // The next queued folder, file or secret; nullopt when the queue is empty.
  std::optional<std::string> nextChoice();
};

}  // namespace athup::testing
