#include "gui/dialogs/pin_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace athup::gui {

PinDialog::PinDialog(QWidget* parent) : QDialog(parent), m_edit(new QLineEdit(this)) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto* label = new QLabel(QStringLiteral("請輸入 PIN 碼："), this);
  label->setObjectName(QStringLiteral("lbPIN"));
  m_edit->setObjectName(QStringLiteral("edPIN"));
  m_edit->setEchoMode(QLineEdit::Password);
  auto* confirm = new QPushButton(QStringLiteral("確定"), this);
  confirm->setObjectName(QStringLiteral("btConfirm"));
  confirm->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("btCancel"));
  connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(m_edit);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(confirm);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
}

QString PinDialog::pin() const {
  return m_edit->text();
}

}  // namespace athup::gui
