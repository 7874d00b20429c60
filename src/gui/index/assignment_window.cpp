#include "gui/index/assignment_window.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "common/text_helpers.h"
#include "store/queries/attachment_queries.h"
#include "store/queries/index_queries.h"

namespace athup::gui {

namespace {

enum class Kind { Text, Amount, FileCount, TotalPaid, FilingMode };

struct Column {
  const char* header;
  const char* field;
  Kind kind;
};

const std::vector<Column>& columnsOf(const std::string& type) {
  static const std::vector<Column> t02 = {
      {"附件檔案數", "FILE_SEQ", Kind::FileCount},
      {"序號", "FILE_SEQ", Kind::Text},
      {"銷售人統一編號", "BAN", Kind::Text},
      {"銷售人縣市別", "HSN_CD", Kind::Text},
      {"銷售人稅籍編號", "VAT_LOSN_X9", Kind::Text},
      {"資料所屬年月", "DATA_YYMM_X5", Kind::Text},
      {"開立發票年月", "INVO_YM", Kind::Text},
      {"發票字軌號碼", "INVO_TRACK", Kind::Text},
      {"買受人統一編號", "BUYER_BAN", Kind::Text},
      {"外銷方式", "EXPORT_MODE", Kind::Text},
      {"通關方式", "PCTS_MODE", Kind::Text},
      {"出口報單類別/證明文件名稱", "BILL_OF_SIGHT_TP", Kind::Text},
      {"出口報單號碼/證明文件號碼", "BILL_OF_SIGHT_NO", Kind::Text},
      {"金額", "ZTX_S_AMT", Kind::Amount},
      {"輸出或結匯日期", "FGN_EXCH_DATE", Kind::Text}};
  static const std::vector<Column> t08 = {{"附件檔案數", "FILE_SEQ", Kind::FileCount},
                                          {"所屬年度", "BL_YR", Kind::Text},
                                          {"所屬月份", "BL_MM", Kind::Text},
                                          {"縣市別", "HSN_CD", Kind::Text},
                                          {"統一編號", "BAN", Kind::Text},
                                          {"稅籍編號", "VAT_LOSN_X9", Kind::Text},
                                          {"統一發票日期", "INVO_DATE", Kind::Text},
                                          {"統一發票字軌號碼", "INVO_TRACK_NO", Kind::Text},
                                          {"內容摘要名稱", "FA_REF_NM", Kind::Text},
                                          {"內容摘要數量", "FA_REF_QTY", Kind::Amount},
                                          {"內容摘要金額", "FA_REF_AMT", Kind::Amount},
                                          {"內容摘要稅額", "FA_REF_TAX", Kind::Amount},
                                          {"用途", "UES_NM", Kind::Text}};
  static const std::vector<Column> tet = {
      {"附件檔案數", "FILE_SEQ", Kind::FileCount},
      {"統一編號", "BAN", Kind::Text},
      {"資料所屬年月", "DATA_YYMM_X5", Kind::Text},
      {"縣市別", "HSN_CD", Kind::Text},
      {"稅籍編號", "VAT_LOSN_X9", Kind::Text},
      {"總繳註記", "TOTAL_PAID_MK", Kind::TotalPaid},
      {"申報資料(總繳、各單位分別申報)", "FLG_TMS", Kind::FilingMode}};
  return type == "T02" ? t02 : type == "T08" ? t08 : tet;
}

QString totalPaidText(const std::string& mark) {
  if (mark == "0") return QStringLiteral("單一機構報繳");
  if (mark == "1") return QStringLiteral("總機構彙總報繳");
  if (mark == "2") return QStringLiteral("分支機構各別申報");
  return {};
}

QString filingModeText(const std::string& flag) {
  if (flag == "1") return QStringLiteral("總機構彙總報繳(各單位各別申報)");
  if (flag == "5") return QStringLiteral("總機構彙總報繳(總繳)");
  return {};
}

QString bytesText(std::int64_t bytes) {
  return amountText(static_cast<double>(bytes)) + QStringLiteral("(Bytes)");
}

QTableWidget* readOnlyGrid(QWidget* parent, const QStringList& headers) {
  auto* grid = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  grid->setHorizontalHeaderLabels(headers);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  return grid;
}

}  // namespace

AssignmentWindow::AssignmentWindow(const IndexWindowContext& context, const QString& taxpayerLine,
                                   const std::string& ban, const std::string& type,
                                   const QString& categoryName, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_flow(context.interaction, context.orbWin, context.period, ban, type),
      m_type(type),
      m_paths(new QListWidget(this)),
      m_count(new QLabel(this)),
      m_rowSize(new QLabel(this)),
      m_totalSize(new QLabel(this)),
      m_save(new QPushButton(QStringLiteral("存檔"), this)) {
  setObjectName(QStringLiteral("AssignmentWindow"));
  setWindowTitle(QStringLiteral("(ORBATH102) 附件索引設定"));
  QStringList headers;
  for (const auto& column : columnsOf(type)) headers << QString::fromUtf8(column.header);
  m_rows = readOnlyGrid(this, headers);
  m_rows->setObjectName(QStringLiteral("rowsGrid"));
  m_files = readOnlyGrid(this, {QStringLiteral("檔案路徑與檔名"), QStringLiteral("上傳後之檔名"),
                                QStringLiteral("檔案大小(Bytes)")});
  m_files->setObjectName(QStringLiteral("filesGrid"));
  m_save->setObjectName(QStringLiteral("saveButton"));
  m_save->setEnabled(false);
  auto* browseButton = new QPushButton(QStringLiteral("瀏覽"), this);
  browseButton->setObjectName(QStringLiteral("browseButton"));
  auto* clearButton = new QPushButton(QStringLiteral("清除附件檔案"), this);
  clearButton->setObjectName(QStringLiteral("clearButton"));
  auto* leaveButton = new QPushButton(QStringLiteral("離開"), this);
  leaveButton->setObjectName(QStringLiteral("leaveButton"));

  const QString period = QString::fromStdString(context.period);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(taxpayerLine, this));
  layout->addWidget(new QLabel(QStringLiteral("所屬年度及月份：") + period.mid(0, 3) +
                                   QStringLiteral("年") + period.mid(3, 2) + QStringLiteral("月") +
                                   QStringLiteral("  附件類別：") + categoryName,
                               this));
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(new QLabel(QStringLiteral("明細資料"), this));
  countRow->addStretch();
  countRow->addWidget(m_count);
  layout->addLayout(countRow);
  layout->addWidget(m_rows, 3);
  layout->addWidget(new QLabel(QStringLiteral("已設定的附件檔案"), this));
  layout->addWidget(m_files, 1);
  layout->addWidget(new QLabel(QStringLiteral("附件檔案："), this));
  layout->addWidget(m_paths, 1);
  auto* sizes = new QGridLayout;
  sizes->addWidget(new QLabel(QStringLiteral("檔案合計容量："), this), 0, 0);
  sizes->addWidget(m_rowSize, 0, 1);
  sizes->addWidget(new QLabel(QStringLiteral("檔案總容量："), this), 1, 0);
  sizes->addWidget(m_totalSize, 1, 1);
  layout->addLayout(sizes);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(browseButton);
  buttons->addWidget(new QLabel(QStringLiteral("(於瀏覽視窗中，可按Ctrl/Shift鍵複選檔案)"), this));
  buttons->addStretch();
  buttons->addWidget(m_save);
  buttons->addWidget(clearButton);
  buttons->addWidget(leaveButton);
  layout->addLayout(buttons);

  connect(m_rows, &QTableWidget::itemSelectionChanged, this, &AssignmentWindow::rowChanged);
  connect(browseButton, &QPushButton::clicked, this, &AssignmentWindow::browse);
  connect(m_save, &QPushButton::clicked, this, &AssignmentWindow::save);
  connect(clearButton, &QPushButton::clicked, this, &AssignmentWindow::clear);
  connect(leaveButton, &QPushButton::clicked, this, &QDialog::reject);
  reload(0);
}

void AssignmentWindow::reload(int row) {
  store::IndexQueries index(m_context.orbWin);
  store::ResultSet rows = index.indexRows(m_flow.ban(), m_type);
  const auto& columns = columnsOf(m_type);
  const QSignalBlocker blocker(m_rows);
  m_rows->setRowCount(static_cast<int>(rows.recordCount()));
  int r = 0;
  for (rows.first(); !rows.eof(); rows.next(), ++r) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::string value = rows.text(columns[c].field);
      QString text;
      switch (columns[c].kind) {
        case Kind::Text:
          text = QString::fromStdString(value);
          break;
        case Kind::Amount:
          text = amountText(rows.number(columns[c].field));
          break;
        case Kind::FileCount:
          if (!common::trimBlanks(value).empty()) {
            text = QString::number(index.rowFileCount(m_flow.ban(), value));
          }
          break;
        case Kind::TotalPaid:
          text = totalPaidText(common::trimBlanks(value));
          break;
        case Kind::FilingMode:
          text = filingModeText(common::trimBlanks(value));
          break;
      }
      auto* item = new QTableWidgetItem(text);
      if (columns[c].kind == Kind::Amount)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_rows->setItem(r, static_cast<int>(c), item);
    }
  }
  if (m_rows->rowCount() > 0) m_rows->selectRow(std::clamp(row, 0, m_rows->rowCount() - 1));
  rowChanged();
}

std::string AssignmentWindow::currentSeq() const {
  const int row = m_rows->currentRow();
  if (row < 0 || row >= m_rows->rowCount()) return {};
  // The key is not a visible column for every category, so it is read back from the table.
  store::ResultSet rows = store::IndexQueries(m_context.orbWin).indexRows(m_flow.ban(), m_type);
  if (static_cast<std::size_t>(row) >= rows.recordCount()) return {};
  rows.setRecNo(static_cast<std::size_t>(row) + 1);
  return rows.text("FILE_SEQ");
}

void AssignmentWindow::rowChanged() {
  m_count->setText(QStringLiteral("筆數：") + QString::number(m_rows->rowCount()));
  const std::string seq = currentSeq();
  store::ResultSet files = store::IndexQueries(m_context.orbWin).rowFiles(m_flow.ban(), seq);
  m_files->setRowCount(static_cast<int>(files.recordCount()));
  m_paths->clear();
  int r = 0;
  for (files.first(); !files.eof(); files.next(), ++r) {
    const QString path = QString::fromStdString(files.text("FILE_PATH_NM"));
    m_files->setItem(r, 0, new QTableWidgetItem(path));
    m_files->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(files.text("FILE_NM"))));
    m_files->setItem(r, 2, new QTableWidgetItem(amountText(files.number("FILE_SIZE"))));
    m_paths->addItem(path);
  }
  store::AttachmentQueries sums(m_context.orbWin);
  m_rowSize->setText(bytesText(seq.empty() ? 0 : sums.fileSizeTotal(m_flow.ban(), seq, m_type)));
  m_totalSize->setText(bytesText(sums.fileSizeTotal(m_flow.ban(), {}, {})));
}

void AssignmentWindow::forgetChosen() {
  m_chosen.clear();
  m_save->setEnabled(false);
}

void AssignmentWindow::browse() {
  m_chosen = m_context.chooseDocuments
                 ? m_context.chooseDocuments(this)
                 : QFileDialog::getOpenFileNames(this, QString(), QString(),
                                                 QStringLiteral("PDF檔案 (*.pdf)"));
  if (m_chosen.isEmpty()) {
    forgetChosen();
    return;
  }
  m_paths->clear();
  std::vector<std::string> paths;
  for (const QString& path : m_chosen) {
    m_paths->addItem(path);
    paths.push_back(path.toStdString());
  }
  m_save->setEnabled(true);
  m_rowSize->setText(bytesText(index::AssignmentFlow::chosenSize(paths)));
}

void AssignmentWindow::save() {
  const int row = m_rows->currentRow();
  std::vector<std::string> paths;
  for (const QString& path : m_chosen) paths.push_back(path.toStdString());
  const std::string seq = currentSeq();
  if (!seq.empty()) (void)m_flow.save(seq, paths);
  forgetChosen();
  reload(row);
}

void AssignmentWindow::clear() {
  const std::string seq = currentSeq();
  if (seq.empty()) return;
  if (m_flow.clear(seq)) reload(m_rows->currentRow());
}

void AssignmentWindow::done(int result) {
  if (!m_flow.mayLeave()) return;
  (void)m_flow.dropCategoryWithoutFiles();
  QDialog::done(result);
}

}  // namespace athup::gui
