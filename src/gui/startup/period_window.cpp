#include "gui/startup/period_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/period_input.h"
#include "gui/support/fonts.h"
#include "gui/support/qt_text.h"

namespace athup::gui {

PeriodWindow::PeriodWindow(Interaction& interaction, const std::string& defaultPeriod,
                           Prepare prepare, QWidget* parent)
    : QDialog(parent),
      m_interaction(interaction),
      m_prepare(std::move(prepare)),
      m_edit(new QLineEdit(this)),
      m_confirm(new QPushButton(QStringLiteral("確認"), this)),
      m_cancel(new QPushButton(QStringLiteral("取消"), this)) {
  setObjectName(QStringLiteral("WS003"));
  setWindowTitle(QStringLiteral("(ORBWS003)申報年期選擇"));
  setFont(mingFont(14));

  m_edit->setObjectName(QStringLiteral("periodField"));
  // Three digits, a literal "/", two digits; blanks show as "_".
  m_edit->setInputMask(QStringLiteral("999/99;_"));
  m_edit->setText(qs(defaultPeriod));
  m_edit->setFont(mingFont(18));
  m_edit->setFixedWidth(90);
  m_confirm->setObjectName(QStringLiteral("confirmButton"));
  m_confirm->setDefault(true);
  m_cancel->setObjectName(QStringLiteral("cancelButton"));
  connect(m_confirm, &QPushButton::clicked, this, &PeriodWindow::confirm);
  connect(m_cancel, &QPushButton::clicked, this, &PeriodWindow::cancel);
  // Enter in the field reaches the default button "確認" (the field passes it on), so it is not
  // connected again here: a second confirmation would repeat each error box.

  auto* fieldRow = new QHBoxLayout;
  fieldRow->addWidget(new QLabel(QStringLiteral("所屬年月份："), this));
  fieldRow->addWidget(m_edit);
  fieldRow->addStretch();

  auto* hints = new QGridLayout;
  hints->addWidget(new QLabel(QStringLiteral("按期申報者："), this), 0, 0);
  hints->addWidget(
      new QLabel(QStringLiteral("申報資料屬 102年01、02月之資料，請輸入 102/02"), this), 0, 1);
  hints->addWidget(new QLabel(QStringLiteral("按月申報者："), this), 1, 0);
  hints->addWidget(new QLabel(QStringLiteral("申報資料屬 102 年 01 月之資料，請輸入 102/01"), this),
                   1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_confirm);
  buttons->addWidget(m_cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fieldRow);
  layout->addLayout(hints);
  layout->addLayout(buttons);
  m_edit->setFocus();
}

std::string PeriodWindow::value() const {
  // The field's text keeps the mask's "/" but none of its blanks.
  return app::periodFieldValue(m_edit->text().toStdString());
}

void PeriodWindow::confirm() {
  const auto checked = app::PeriodField::fromField(m_edit->text().toStdString());
  if (const auto* error = std::get_if<std::string>(&checked)) {
    m_interaction.showMessage(MessageKind::Error, *error);
    m_edit->setFocus();
    return;
  }
  if (m_prepare(std::get<app::PeriodField>(checked))) {
    accept();
  } else {
    reject();
  }
}

void PeriodWindow::keyPressEvent(QKeyEvent* event) {
  // Esc is the window's cancel button, not a plain close: it asks the program to end as well.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    cancel();
    return;
  }
  QDialog::keyPressEvent(event);
}

void PeriodWindow::cancel() {
  m_terminate = true;
  reject();
}

}  // namespace athup::gui
