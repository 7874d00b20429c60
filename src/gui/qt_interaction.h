#pragma once

#include <QPointer>
#include <QWidget>

#include "common/interaction.h"
#include "gui/shell/status_slots.h"

namespace athup::gui {

// The desktop program's answer to the core: message boxes, questions, file and folder dialogs, a
// password dialog and the main window's status bar. All of them are scriptable in tests through
// MessageBox, FileDialog and PasswordDialog.
class QtInteraction final : public Interaction {
 public:
  explicit QtInteraction(QWidget* parent = nullptr) : m_parent(parent) {}

  // Dialogs open over this window once it is shown; status texts go to these slots (none until
  // the main window exists: texts sent before are dropped, there is no bar to show them on).
  void setParent(QWidget* parent) { m_parent = parent; }
  void setStatusSlots(StatusSlots* target) { m_status = target; }

  // The window a box or dialog opens over: the modal window the user is working in (the period
  // window at start-up, a step window later), else the main window once it is shown, else none
  // (centred on the screen). A box owned by a hidden window would open away from the window
  // that asked, and may end up behind it.
  [[nodiscard]] QWidget* dialogParent() const;

  void showMessage(MessageKind kind, const std::string& text,
                   const std::string& caption = {}) override;
  Answer ask(MessageKind kind, const std::string& text, const std::string& caption,
             Buttons buttons) override;
  std::optional<std::string> chooseFolder(const std::string& caption,
                                          const std::string& startFolder) override;
  std::optional<std::string> chooseFile(const std::string& caption, const std::string& startFolder,
                                        const std::string& filter) override;
  std::optional<std::string> askSecret(const std::string& caption,
                                       const std::string& prompt) override;
  void showStatus(StatusKind kind, const std::string& text) override;
  // The certificate-type dialog (the one list choice the core asks for).
  int chooseItem(const std::string& caption, const std::string& title,
                 const std::vector<std::string>& items) override;

 private:
  QPointer<QWidget> m_parent;
  QPointer<StatusSlots> m_status;
};

}  // namespace athup::gui
