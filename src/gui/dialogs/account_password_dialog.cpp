#include "gui/dialogs/account_password_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "common/interaction.h"
#include "gui/dialogs/message_box.h"
#include "security/certificates/account_password.h"

namespace athup::gui {

AccountPasswordDialog::AccountPasswordDialog(const QString& ban, QWidget* parent)
    : QDialog(parent),
      m_edit(new QLineEdit(this)),
      m_confirm(new QPushButton(QStringLiteral("確認"), this)) {
  setWindowTitle(QStringLiteral("營業稅上傳作業"));
  auto* banField = new QLineEdit(ban, this);
  banField->setObjectName(QStringLiteral("edtBAN"));
  banField->setReadOnly(true);
  m_edit->setObjectName(QStringLiteral("edtPasswd"));
  m_edit->setEchoMode(QLineEdit::Password);
  m_edit->setMaxLength(security::kAccountPasswordMaxLength);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
    m_confirm->setEnabled(text.size() >= security::kAccountPasswordMinLength);
  });
  connect(m_confirm, &QPushButton::clicked, this, &AccountPasswordDialog::confirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("帳號"), banField);
  form->addRow(QStringLiteral("密碼"), m_edit);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_confirm);
  buttons->addWidget(cancel);
  form->addRow(buttons);
}

void AccountPasswordDialog::showEvent(QShowEvent* event) {
  m_edit->clear();
  m_confirm->setEnabled(false);
  QDialog::showEvent(event);
  m_edit->setFocus();
}

void AccountPasswordDialog::confirm() {
  const QString text = m_edit->text();
  if (!security::isValidAccountPassword(text.toStdString())) {
    (void)MessageBox::show(
        this, MessageKind::Plain,
        QString::fromUtf8(security::kAccountPasswordMessage.data(),
                          static_cast<qsizetype>(security::kAccountPasswordMessage.size())),
        QString(), Buttons::Ok);
    m_edit->clear();
    m_edit->setFocus();
    return;
  }
  m_password = text;
  accept();
}

}  // namespace athup::gui
