#include "gui/index/taxpayer_entry_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "index/flows/taxpayer_entry_flow.h"

namespace athup::gui {

TaxpayerEntryWindow::TaxpayerEntryWindow(const IndexWindowContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_ban(new QLineEdit(this)) {
  setObjectName(QStringLiteral("TaxpayerEntryWindow"));
  setWindowTitle(QStringLiteral("附件資料登錄"));
  m_ban->setObjectName(QStringLiteral("banEdit"));
  m_ban->setMaxLength(8);
  auto* ok = new QPushButton(QStringLiteral("確定"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  auto* leave = new QPushButton(QStringLiteral("離 開"), this);
  leave->setObjectName(QStringLiteral("leaveButton"));
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("統一編號"), this));
  row->addWidget(m_ban);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(leave);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TaxpayerEntryWindow::confirm);
  connect(leave, &QPushButton::clicked, this, &QDialog::reject);
}

void TaxpayerEntryWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_ban->setFocus();
}

void TaxpayerEntryWindow::confirm() {
  m_taxpayer = index::TaxpayerEntryFlow(m_context.interaction, m_context.orbCode)
                   .select(m_ban->text().toStdString());
  if (m_taxpayer) accept();
}

}  // namespace athup::gui
