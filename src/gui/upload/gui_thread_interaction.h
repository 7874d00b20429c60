#pragma once

#include <QObject>

#include "common/interaction.h"

namespace athup::gui {

// The interaction port for a flow that runs on a worker thread: every call is carried out by the
// window's port on the window's thread, and the flow waits for the answer.
class GuiThreadInteraction final : public Interaction {
 public:
  GuiThreadInteraction(Interaction& target, QObject* guiObject)
      : m_target(target), m_guiObject(guiObject) {}

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
  int chooseItem(const std::string& caption, const std::string& title,
                 const std::vector<std::string>& items) override;

 private:
  Interaction& m_target;
  QObject* m_guiObject;
};

}  // namespace athup::gui
