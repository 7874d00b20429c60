#include "gui/upload/result_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <charconv>

#include "app/lookup_reports.h"
#include "common/big5_text_file.h"
#include "common/file_helpers.h"
#include "common/text_helpers.h"
#include "gui/index/index_window_context.h"
#include "gui/support/qt_text.h"
#include "store/queries/category_queries.h"
#include "store/queries/category_types.h"
#include "store/queries/status_queries.h"
#include "store/queries/taxpayer_queries.h"
#include "upload/query/result_query.h"

namespace athup::gui {
namespace {

constexpr const char* kHelpFile = "HELP_ORBATT_STEP3.txt";

// The compressed size column as a number; 0 when it is not one.
double sizeOf(const std::string& digits) {
  const std::string text = common::trimBlanks(digits);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

}  // namespace

ResultWindow::ResultWindow(ResultWindowContext context, QWidget* parent)
    : QWidget(parent),
      m_context(std::move(context)),
      m_taxpayer(new QLabel(this)),
      m_period(new QLabel(this)),
      m_ban(new QLineEdit(this)),
      m_search(new QPushButton(QStringLiteral("查詢"), this)),
      m_print(new QPushButton(QStringLiteral("列印收執聯"), this)),
      m_helpButton(new QPushButton(QStringLiteral("說明"), this)),
      m_grid(new QTableWidget(0, 6, this)),
      m_help(new QPlainTextEdit(this)),
      m_body(new QWidget(this)) {
  setObjectName(QStringLiteral("ResultWindow"));
  setWindowTitle(QStringLiteral("(ORBATH201)附件上傳結果查詢"));
  m_taxpayer->setObjectName(QStringLiteral("taxpayerLabel"));
  m_period->setObjectName(QStringLiteral("periodLabel"));
  m_ban->setObjectName(QStringLiteral("banEdit"));
  m_ban->setMaxLength(8);
  m_search->setObjectName(QStringLiteral("searchButton"));
  m_print->setObjectName(QStringLiteral("printButton"));
  // Receipts are printed from the receipt files once their printing is in place.
  m_print->setEnabled(false);
  m_print->setToolTip(QStringLiteral("收執聯列印尚未提供"));
  m_helpButton->setObjectName(QStringLiteral("helpButton"));
  m_helpButton->setToolTip(QStringLiteral("顯示填表說明"));
  m_helpButton->setCheckable(true);
  auto* leave = new QPushButton(QStringLiteral("離開"), this);
  leave->setObjectName(QStringLiteral("leaveButton"));
  m_grid->setObjectName(QStringLiteral("resultGrid"));
  m_grid->setHorizontalHeaderLabels({QStringLiteral("附件類別"), QStringLiteral("附件名稱"),
                                     QStringLiteral("副檔名"), QStringLiteral("附件大小(壓縮後)"),
                                     QStringLiteral("上傳時間"), QStringLiteral("上傳狀態")});
  m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_grid->horizontalHeader()->setStretchLastSection(true);
  m_grid->verticalHeader()->setVisible(false);
  m_help->setObjectName(QStringLiteral("helpText"));
  m_help->setReadOnly(true);
  m_help->setVisible(false);

  const std::string& ym = m_context.period;
  m_period->setText(qs(ym.substr(0, 3)) + QStringLiteral("年") + qs(ym.substr(3, 2)) +
                    QStringLiteral("月"));
  auto* note = new QLabel(
      QStringLiteral("※上傳狀態為「主機作業處理完成(上傳成功)」且未缺檔時，將可列印收執聯。"),
      this);
  note->setObjectName(QStringLiteral("noteLabel"));

  auto* banRow = new QHBoxLayout;
  banRow->addWidget(new QLabel(QStringLiteral("統一編號"), this));
  banRow->addWidget(m_ban);
  banRow->addWidget(m_search);
  banRow->addWidget(m_period);
  banRow->addStretch();
  auto* bodyLayout = new QVBoxLayout(m_body);
  bodyLayout->setContentsMargins(0, 0, 0, 0);
  bodyLayout->addLayout(banRow);
  bodyLayout->addWidget(m_taxpayer);
  bodyLayout->addWidget(m_grid, 1);
  bodyLayout->addWidget(note);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_helpButton);
  buttons->addStretch();
  buttons->addWidget(m_print);
  buttons->addWidget(leave);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_body, 1);
  layout->addWidget(m_help, 1);
  layout->addLayout(buttons);

  try {
    m_help->setPlainText(withLfLineEnds(
        qs(common::readBig5TextFile(common::pathFromUtf8(m_context.helpPath + kHelpFile)))));
  } catch (const std::exception&) {
    m_context.interaction.showMessage(
        MessageKind::Plain, std::string("無法載入附件上傳資料檔填寫說明檔:\"") + kHelpFile + "\"");
  }

  // The help text fills the window while it is shown.
  connect(m_helpButton, &QPushButton::toggled, this, [this](bool on) {
    m_help->setVisible(on);
    m_body->setVisible(!on);
  });
  connect(m_ban, &QLineEdit::textChanged, this, &ResultWindow::banEdited);
  connect(m_search, &QPushButton::clicked, this, &ResultWindow::search);
  connect(leave, &QPushButton::clicked, this, &QWidget::close);
}

bool ResultWindow::showTaxpayer(const std::string& ban) {
  store::TaxpayerQueries taxpayers(m_context.orbCode);
  const auto record = app::findTaxpayerOrReport(taxpayers, m_context.interaction, ban);
  if (!record) {
    m_taxpayer->clear();
    return false;
  }
  m_taxpayer->setText(QStringLiteral("統一編號：") + qs(record->BAN) +
                      QStringLiteral("  營業人名稱：") + qs(record->BAN_NM_X30) +
                      QStringLiteral("  稅籍編號：") + qs(record->VAT_LOSN_X9));
  return true;
}

void ResultWindow::banEdited(const QString& text) {
  m_taxpayer->clear();
  if (text.size() > 7) (void)showTaxpayer(common::trimBlanks(text.toStdString()));
}

void ResultWindow::search() {
  // The query blocks the window while it runs.
  setEnabled(false);
  m_header = {};
  const upload::FilingContext filing = m_context.filingContext();
  upload::ResultQuery query(
      filing, m_context.orbWin, m_context.certificate, m_context.interaction,
      [this](const std::string& ban) {
        store::TaxpayerQueries taxpayers(m_context.orbCode);
        return app::findTaxpayerOrReport(taxpayers, m_context.interaction, ban).has_value();
      });
  const auto outcome = query.search(m_ban->text().toStdString());
  if (outcome) {
    m_header = outcome->header;
    loadGrid(outcome->ban);
    (void)showTaxpayer(outcome->ban);
  }
  setEnabled(true);
}

void ResultWindow::loadGrid(const std::string& ban) {
  store::CategoryQueries categories(m_context.orbCode);
  const std::vector<std::string> lines = store::StatusQueries(m_context.orbWin).statusLines(ban);
  m_grid->setRowCount(static_cast<int>(lines.size()));
  for (int row = 0; row < static_cast<int>(lines.size()); ++row) {
    const upload::StatusLine line = upload::parseStatusLine(lines[static_cast<std::size_t>(row)]);
    const QString cells[] = {
        qs(categories.categoryName(store::categoryTypeOfCode(line.fileCd))),
        qs(line.fileName),
        qs(line.fileSubName),
        amountText(sizeOf(line.compressSize)),
        qs(upload::formatStamp(line.receivedAt)),
        qs(line.statusText),
    };
    for (int column = 0; column < 6; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column == 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_grid->setItem(row, column, item);
    }
  }
}

}  // namespace athup::gui
