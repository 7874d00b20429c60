#include "gui/qt_interaction.h"

#include <QApplication>

#include "gui/dialogs/cert_type_dialog.h"
#include "gui/dialogs/file_dialog.h"
#include "gui/dialogs/message_box.h"
#include "gui/dialogs/password_dialog.h"
#include "gui/shell/status_slots.h"

namespace athup::gui {
namespace {

QString q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

QWidget* QtInteraction::dialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (m_parent && m_parent->isVisible()) return m_parent;
  return nullptr;
}

void QtInteraction::showMessage(MessageKind kind, const std::string& text,
                                const std::string& caption) {
  (void)MessageBox::show(dialogParent(), kind, q(text), q(caption), Buttons::Ok);
}

Answer QtInteraction::ask(MessageKind kind, const std::string& text, const std::string& caption,
                          Buttons buttons) {
  return MessageBox::show(dialogParent(), kind, q(text), q(caption), buttons);
}

std::optional<std::string> QtInteraction::chooseFolder(const std::string& caption,
                                                       const std::string& startFolder) {
  const QString folder = FileDialog::existingFolder(dialogParent(), q(caption), q(startFolder));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

std::optional<std::string> QtInteraction::chooseFile(const std::string& caption,
                                                     const std::string& startFolder,
                                                     const std::string& filter) {
  const QString file =
      FileDialog::openFileName(dialogParent(), q(caption), q(startFolder), q(filter));
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

std::optional<std::string> QtInteraction::askSecret(const std::string& caption,
                                                    const std::string& prompt) {
  auto secret = PasswordDialog::ask(dialogParent(), q(caption), q(prompt));
  if (!secret) return std::nullopt;
  return secret->toStdString();
}

int QtInteraction::chooseItem(const std::string&, const std::string&,
                              const std::vector<std::string>&) {
  CertTypeDialog dialog(dialogParent());
  dialog.removeThirdItem();
  return dialog.exec() - 1;  // the dialog closes with the chosen index + 1
}

void QtInteraction::showStatus(StatusKind kind, const std::string& text) {
  if (m_status) m_status->showStatus(kind, q(text));
}

}  // namespace athup::gui
