#include "gui/receipts/receipt_print_window.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

#include "common/errors.h"
#include "common/interaction.h"
#include "gui/dialogs/message_box.h"
#include "receipts/receipt_file_list.h"

namespace athup::gui {

using receipts::ReceiptSortKey;

namespace {

// A click this far right of an item's left edge is on its text, not its check box.
constexpr int kCheckBoxWidth = 14;

}  // namespace

ReceiptPrintWindow::ReceiptPrintWindow(QWidget* parent)
    : QDialog(parent),
      m_byBan(new QRadioButton(QStringLiteral("統一編號"), this)),
      m_byLosn(new QRadioButton(QStringLiteral("稅籍編號"), this)),
      m_byDate(new QRadioButton(QStringLiteral("上傳時間"), this)),
      m_headerBar(new QWidget(this)),
      m_selectAll(new QCheckBox(m_headerBar)),
      m_heading(new QLabel(m_headerBar)),
      m_list(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("附件上傳收執聯列印"));
  setModal(true);
  // The display lines line up their columns with blanks.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  m_list->setFont(fixed);
  m_heading->setFont(fixed);

  m_byBan->setObjectName(QStringLiteral("rbtSortByBan"));
  m_byLosn->setObjectName(QStringLiteral("rbtSortByLosn"));
  m_byDate->setObjectName(QStringLiteral("rbtSortByDate"));
  m_headerBar->setObjectName(QStringLiteral("plSelectAll"));
  m_selectAll->setObjectName(QStringLiteral("CheckBox1"));
  m_list->setObjectName(QStringLiteral("clbSelectBAN"));
  m_byBan->setChecked(true);

  auto* hint = new QLabel(QString::fromUtf8(receipts::kReceiptListHint.data(),
                                            static_cast<int>(receipts::kReceiptListHint.size())),
                          this);
  auto* sortRow = new QHBoxLayout;
  sortRow->addWidget(new QLabel(QStringLiteral("資料排序依"), this));
  for (QRadioButton* button : {m_byBan, m_byLosn, m_byDate}) {
    sortRow->addWidget(button);
  }
  sortRow->addStretch();
  connect(m_byBan, &QRadioButton::clicked, this, [this] { sortBy(ReceiptSortKey::Ban); });
  connect(m_byLosn, &QRadioButton::clicked, this, [this] { sortBy(ReceiptSortKey::Losn); });
  connect(m_byDate, &QRadioButton::clicked, this, [this] { sortBy(ReceiptSortKey::UploadTime); });

  auto* barLayout = new QHBoxLayout(m_headerBar);
  barLayout->setContentsMargins(4, 2, 4, 2);
  barLayout->addWidget(m_selectAll);
  barLayout->addWidget(m_heading, 1);
  m_headerBar->setAutoFillBackground(true);
  m_headerBar->setToolTip(
      QString::fromUtf8(receipts::kReceiptHeadingHint.data(),
                        static_cast<int>(receipts::kReceiptHeadingHint.size())));
  m_heading->installEventFilter(this);
  m_headerBar->installEventFilter(this);
  connect(m_selectAll, &QCheckBox::toggled, this, &ReceiptPrintWindow::setAllChecked);
  m_list->viewport()->installEventFilter(this);

  auto* preview = new QPushButton(QStringLiteral("預覽"), this);
  auto* print = new QPushButton(QStringLiteral("列印"), this);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  auto* all = new QPushButton(QStringLiteral("全選"), this);
  preview->setObjectName(QStringLiteral("btnPreview"));
  print->setObjectName(QStringLiteral("btnPrint"));
  cancel->setObjectName(QStringLiteral("btnCancel"));
  all->setObjectName(QStringLiteral("btnSelectAll"));
  connect(preview, &QPushButton::clicked, this, [this] { choose(Mode::Preview); });
  connect(print, &QPushButton::clicked, this, [this] { choose(Mode::Print); });
  connect(cancel, &QPushButton::clicked, this, [this] {
    setAllChecked(false);
    reject();
  });
  connect(all, &QPushButton::clicked, this, [this] { m_selectAll->toggle(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {preview, print, cancel, all}) {
    buttons->addWidget(button);
  }

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  status->addWidget(
      new QLabel(QString::fromUtf8(receipts::kReceiptListStatus.data(),
                                   static_cast<int>(receipts::kReceiptListStatus.size())),
                 status));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(hint);
  layout->addLayout(sortRow);
  layout->addWidget(m_headerBar);
  layout->addWidget(m_list, 1);
  layout->addLayout(buttons);
  layout->addWidget(status);
  resize(900, 520);
}

void ReceiptPrintWindow::showEvent(QShowEvent* event) {
  m_key = ReceiptSortKey::Ban;
  m_order = receipts::kAscending;
  m_byBan->setChecked(true);
  listReceiptFiles();
  QDialog::showEvent(event);
}

void ReceiptPrintWindow::listReceiptFiles() {
  {
    const QSignalBlocker quiet(m_selectAll);  // unchecks the box, leaves the lines alone
    m_selectAll->setChecked(false);
  }
  m_list->clear();
  std::vector<std::string> lines;
  if (m_source.athDb != nullptr) {
    const auto files = receipts::findReceiptFiles(m_source.reportFolder, m_masks, m_source.applyYM);
    try {
      if (!files.empty()) {
        lines = receipts::receiptDisplayLines(files, *m_source.athDb, m_key, m_order);
      }
    } catch (const Error& failure) {
      // An unreadable taxpayer master leaves the list empty; an exception must not leave the
      // event handler that asked for the list.
      (void)MessageBox::show(this, MessageKind::Error, QString::fromStdString(failure.what()),
                             QString(), Buttons::Ok);
    }
  }
  for (const std::string& line : lines) {
    auto* item = new QListWidgetItem(QString::fromStdString(line), m_list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  m_heading->setText(headingText());
}

QString ReceiptPrintWindow::headingText() const {
  return QString::fromStdString(receipts::receiptListHeading(m_key, m_order));
}

QStringList ReceiptPrintWindow::lines() const {
  QStringList texts;
  for (int i = 0; i < m_list->count(); ++i) {
    texts << m_list->item(i)->text();
  }
  return texts;
}

std::vector<std::string> ReceiptPrintWindow::checkedBans() const {
  std::vector<std::string> bans;
  for (int i = 0; i < m_list->count(); ++i) {
    if (m_list->item(i)->checkState() == Qt::Checked) {
      bans.push_back(m_list->item(i)->text().left(8).toStdString());
    }
  }
  return bans;
}

void ReceiptPrintWindow::toggleDirection() {
  m_order = m_order == receipts::kAscending ? std::string(receipts::kDescending)
                                            : std::string(receipts::kAscending);
  listReceiptFiles();
}

void ReceiptPrintWindow::setAllChecked(bool checked) {
  for (int i = 0; i < m_list->count(); ++i) {
    m_list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
}

void ReceiptPrintWindow::sortBy(ReceiptSortKey key) {
  m_key = key;
  listReceiptFiles();
}

void ReceiptPrintWindow::choose(Mode mode) {
  if (checkedBans().empty()) {
    (void)MessageBox::show(this, MessageKind::Information,
                           QString::fromUtf8(receipts::kNothingChosen.data(),
                                             static_cast<int>(receipts::kNothingChosen.size())),
                           QString(), Buttons::Ok);
    return;
  }
  m_mode = mode;
  accept();
}

bool ReceiptPrintWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == m_heading || watched == m_headerBar) {
      toggleDirection();
      return true;
    }
    if (watched == m_list->viewport()) {
      QListWidgetItem* item = m_list->itemAt(mouse->position().toPoint());
      if (item != nullptr &&
          mouse->position().x() - m_list->visualItemRect(item).left() > kCheckBoxWidth) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace athup::gui
