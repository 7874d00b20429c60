#pragma once

#include <optional>
#include <string>
#include <vector>

namespace athup {

enum class MessageKind { Plain, Information, Warning, Error };

enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel, YesCancel };

enum class Answer { Ok, Cancel, Yes, No };

// The answer of a question nobody is there to answer: the one that changes nothing (No for
// Yes/No, Cancel where there is a Cancel, OK for a lone OK). The command line, the tests' fake and
// the message box that answers itself all give this, so a flow takes the same branch in each.
[[nodiscard]] constexpr Answer declinedAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::YesNoCancel:
    case Buttons::OkCancel:
    case Buttons::YesCancel:
      return Answer::Cancel;
    case Buttons::Ok:
      break;
  }
  return Answer::Ok;
}

// Status-bar slots of the main window: 0 short note, 1 alert with a beep, 2 permanent period line.
enum class StatusKind { Note = 0, Alert = 1, Period = 2 };

// The one way the core talks to the person in front of it. The desktop program answers with
// dialogs, the command line with the terminal and flags, tests with a scripted fake. All texts are
// UTF-8 and are shown exactly as given.
class Interaction {
 public:
  virtual ~Interaction() = default;

  // A message box with a single OK button.
  virtual void showMessage(MessageKind kind, const std::string& text,
                           const std::string& caption = {}) = 0;

  // A question; returns the button the user pressed (closing the box counts as Cancel or No).
  virtual Answer ask(MessageKind kind, const std::string& text, const std::string& caption,
                     Buttons buttons) = 0;

  // A folder or an existing file; nullopt when the user cancels.
  virtual std::optional<std::string> chooseFolder(const std::string& caption,
                                                  const std::string& startFolder) = 0;
  virtual std::optional<std::string> chooseFile(const std::string& caption,
                                                const std::string& startFolder,
                                                const std::string& filter) = 0;

  // A secret such as an account password or a card PIN; nullopt when the user cancels.
  virtual std::optional<std::string> askSecret(const std::string& caption,
                                               const std::string& prompt) = 0;

  virtual void showStatus(StatusKind kind, const std::string& text) = 0;

  // One item of a list, as an index; the list's first item is selected when it opens and there
  // is no cancel, so where nobody answers the first item is the choice.
  virtual int chooseItem(const std::string& caption, const std::string& title,
                         const std::vector<std::string>& items) {
    (void)caption;
    (void)title;
    (void)items;
    return 0;
  }
};

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
