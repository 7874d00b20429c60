#include "gui/dialogs/password_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <deque>

namespace athup::gui {
namespace {
// A queued answer: the secret, or a cancel when `given` is false.
struct Scripted {
  bool given;
  QString secret;
};
std::deque<Scripted> g_nextSecrets;
}  // namespace

PasswordDialog::PasswordDialog(const QString& caption, const QString& prompt, QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(this)) {
  setWindowTitle(caption);
  m_edit->setEchoMode(QLineEdit::Password);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(prompt, this));
  layout->addWidget(m_edit);
  layout->addWidget(buttons);
}

QString PasswordDialog::secret() const {
  return m_edit->text();
}

std::optional<QString> PasswordDialog::ask(QWidget* parent, const QString& caption,
                                           const QString& prompt) {
  if (!g_nextSecrets.empty()) {
    const Scripted next = g_nextSecrets.front();
    g_nextSecrets.pop_front();
    if (!next.given) return std::nullopt;
    return next.secret;
  }
  PasswordDialog dialog(caption, prompt, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.secret();
}

void PasswordDialog::setNextSecret(std::optional<QString> secret) {
  g_nextSecrets.push_back(secret ? Scripted{true, *secret} : Scripted{false, QString()});
}

}  // namespace athup::gui
