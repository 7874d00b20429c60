#pragma once

#include <optional>
#include <string>

#include "common/interaction.h"

namespace athup {

// The interaction port where nobody can answer: every question gets declinedAnswer, every choice
// and secret is cancelled. Subclasses decide where the texts go.
class DecliningInteraction : public Interaction {
 public:
  Answer ask(MessageKind kind, const std::string& text, const std::string& caption,
             Buttons buttons) override;
  std::optional<std::string> chooseFolder(const std::string& caption,
                                          const std::string& startFolder) override;
  std::optional<std::string> chooseFile(const std::string& caption, const std::string& startFolder,
                                        const std::string& filter) override;
  std::optional<std::string> askSecret(const std::string& caption,
                                       const std::string& prompt) override;

 protected:
  // Where a declined question's text goes; a message by default, since it tells why the flow
  // went the declined way.
  virtual void showQuestion(MessageKind kind, const std::string& text, const std::string& caption);
};

}  // namespace athup
