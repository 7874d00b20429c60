#include "gui/dialogs/cert_type_dialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace athup::gui {

CertTypeDialog::CertTypeDialog(QWidget* parent)
    : QDialog(parent), m_group(new QButtonGroup(this)), m_items(nullptr) {
  setWindowTitle(QStringLiteral("營業稅上傳作業"));
  setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
  auto* box = new QGroupBox(QStringLiteral("選擇憑證種類"), this);
  box->setObjectName(QStringLiteral("rgCERT_TP"));
  m_items = new QVBoxLayout(box);
  int id = 0;
  for (const QString& text :
       {QStringLiteral("帳號密碼"), QStringLiteral("工商憑證"), QStringLiteral("自然人憑證")}) {
    auto* item = new QRadioButton(text, box);
    m_group->addButton(item, id++);
    m_items->addWidget(item);
  }
  auto* confirm = new QPushButton(QStringLiteral("確認"), this);
  confirm->setObjectName(QStringLiteral("btnConfirm"));
  confirm->setDefault(true);
  connect(confirm, &QPushButton::clicked, this, [this] { done(chosenIndex() + 1); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box);
  layout->addWidget(confirm);
}

void CertTypeDialog::removeThirdItem() {
  if (itemCount() != 3) return;
  QAbstractButton* third = m_group->button(2);
  m_group->removeButton(third);
  delete third;
}

int CertTypeDialog::itemCount() const {
  return static_cast<int>(m_group->buttons().size());
}

int CertTypeDialog::chosenIndex() const {
  return std::max(0, m_group->checkedId());
}

void CertTypeDialog::choose(int index) {
  if (QAbstractButton* button = m_group->button(index)) button->setChecked(true);
}

void CertTypeDialog::showEvent(QShowEvent* event) {
  choose(0);  // the first item is selected whenever the dialog opens
  QDialog::showEvent(event);
}

}  // namespace athup::gui
