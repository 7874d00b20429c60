#include "gui/upload/gui_thread_interaction.h"

#include "gui/upload/gui_thread_call.h"

namespace athup::gui {

void GuiThreadInteraction::showMessage(MessageKind kind, const std::string& text,
                                       const std::string& caption) {
  callOnThreadOf(m_guiObject, [&] { m_target.showMessage(kind, text, caption); });
}

Answer GuiThreadInteraction::ask(MessageKind kind, const std::string& text,
                                 const std::string& caption, Buttons buttons) {
  return callOnThreadOf(m_guiObject, [&] { return m_target.ask(kind, text, caption, buttons); });
}

std::optional<std::string> GuiThreadInteraction::chooseFolder(const std::string& caption,
                                                              const std::string& startFolder) {
  return callOnThreadOf(m_guiObject, [&] { return m_target.chooseFolder(caption, startFolder); });
}

std::optional<std::string> GuiThreadInteraction::chooseFile(const std::string& caption,
                                                            const std::string& startFolder,
                                                            const std::string& filter) {
  return callOnThreadOf(m_guiObject,
                        [&] { return m_target.chooseFile(caption, startFolder, filter); });
}

std::optional<std::string> GuiThreadInteraction::askSecret(const std::string& caption,
                                                           const std::string& prompt) {
  return callOnThreadOf(m_guiObject, [&] { return m_target.askSecret(caption, prompt); });
}

void GuiThreadInteraction::showStatus(StatusKind kind, const std::string& text) {
  callOnThreadOf(m_guiObject, [&] { m_target.showStatus(kind, text); });
}

int GuiThreadInteraction::chooseItem(const std::string& caption, const std::string& title,
                                     const std::vector<std::string>& items) {
  return callOnThreadOf(m_guiObject, [&] { return m_target.chooseItem(caption, title, items); });
}

}  // namespace athup::gui
