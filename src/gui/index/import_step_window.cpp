#include "gui/index/import_step_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/path_ini.h"
#include "common/big5_text_file.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/text_helpers.h"
#include "gui/dialogs/file_dialog.h"
#include "gui/index/assignment_window.h"
#include "index/flows/index_import_flow.h"
#include "store/queries/attachment_queries.h"
#include "store/queries/category_queries.h"
#include "store/queries/category_types.h"
#include "store/queries/index_queries.h"

namespace athup::gui {

namespace {

constexpr const char* kHelpFile = "HELP_ORBATT_STEP1.txt";
constexpr int kPathIniUploadMode = 2;

QString q(const std::string& text) {
  return QString::fromStdString(text);
}

// The default folder in lines of at most 40 Big5 bytes, no double-byte character split.
QString wrappedFolder(const std::string& folder) {
  QString text = q(common::wrapTextByBytes(folder, 40));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text.trimmed();
}

}  // namespace

ImportStepWindow::ImportStepWindow(const IndexWindowContext& context,
                                   store::TaxpayerRecord taxpayer, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_taxpayer(std::move(taxpayer)),
      m_heading(new QLabel(this)),
      m_category(new QComboBox(this)),
      m_default(new QRadioButton(QStringLiteral("系統預設目錄"), this)),
      m_custom(new QRadioButton(QStringLiteral("自訂目錄"), this)),
      m_edit(new QLineEdit(this)),
      m_browse(new QPushButton(QStringLiteral("..."), this)),
      m_defaultLabel(new QLabel(this)),
      m_grid(new QTableWidget(0, 4, this)),
      m_help(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("ImportStepWindow"));
  setWindowTitle(QStringLiteral("(ORBATH101)附件清單登錄"));
  m_category->setObjectName(QStringLiteral("categoryChoice"));
  m_custom->setObjectName(QStringLiteral("customButton"));
  m_edit->setObjectName(QStringLiteral("folderEdit"));
  m_defaultLabel->setObjectName(QStringLiteral("defaultFolderLabel"));
  m_grid->setObjectName(QStringLiteral("categoryGrid"));
  m_grid->setHorizontalHeaderLabels({QStringLiteral("附件類別"), QStringLiteral("細項資料筆數"),
                                     QStringLiteral("附件檔案數"),
                                     QStringLiteral("附件檔案容量(Bytes)")});
  m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
  m_help->setReadOnly(true);
  m_help->setVisible(false);

  m_heading->setText(taxpayerLine());
  const QString period = q(context.period);
  auto* periodLabel = new QLabel(
      period.mid(0, 3) + QStringLiteral("年") + period.mid(3, 2) + QStringLiteral("月"), this);
  for (const auto& [code, name] : store::CategoryQueries(context.orbCode).categories()) {
    m_category->addItem(q(name), q(code));
  }
  m_category->setCurrentIndex(-1);

  auto* group = new QGroupBox(QStringLiteral("申報檔位置"), this);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(m_default);
  groupLayout->addWidget(m_defaultLabel);
  auto* customRow = new QHBoxLayout;
  customRow->addWidget(m_custom);
  customRow->addWidget(m_edit);
  customRow->addWidget(m_browse);
  groupLayout->addLayout(customRow);

  auto* editButton = new QPushButton(QStringLiteral("附件索引編輯"), this);
  editButton->setObjectName(QStringLiteral("editButton"));
  auto* deleteButton = new QPushButton(QStringLiteral("索引資料整批刪除"), this);
  deleteButton->setObjectName(QStringLiteral("deleteButton"));
  auto* leaveButton = new QPushButton(QStringLiteral("離開"), this);
  auto* helpButton = new QPushButton(QStringLiteral("說明"), this);
  helpButton->setObjectName(QStringLiteral("helpButton"));
  helpButton->setCheckable(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_heading);
  layout->addWidget(periodLabel);
  auto* categoryRow = new QHBoxLayout;
  categoryRow->addWidget(new QLabel(QStringLiteral("附件類別"), this));
  categoryRow->addWidget(m_category, 1);
  layout->addLayout(categoryRow);
  layout->addWidget(group);
  layout->addWidget(m_grid, 1);
  layout->addWidget(m_help, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(editButton);
  buttons->addWidget(deleteButton);
  buttons->addWidget(helpButton);
  buttons->addStretch();
  buttons->addWidget(leaveButton);
  layout->addLayout(buttons);

  try {
    m_help->setPlainText(
        q(common::readBig5TextFile(common::pathFromUtf8(context.helpPath + kHelpFile))));
  } catch (const std::exception&) {
    context.interaction.showMessage(
        MessageKind::Plain, std::string("無法載入附件上傳資料檔填寫說明檔:\"") + kHelpFile + "\"");
  }
  std::string remembered = app::readPathIni(context.docDir, kPathIniUploadMode);
  m_edit->setText(q(remembered.empty() ? context.defaultFolder : remembered));
  m_default->setChecked(true);
  m_edit->setEnabled(false);
  m_browse->setEnabled(false);
  m_defaultLabel->setText(wrappedFolder(context.defaultFolder));

  connect(m_custom, &QRadioButton::toggled, this, [this](bool on) {
    m_edit->setEnabled(on);
    m_browse->setEnabled(on);
    m_defaultLabel->setVisible(!on);
  });
  connect(m_browse, &QPushButton::clicked, this, [this] {
    const QString chosen =
        FileDialog::existingFolder(this, QStringLiteral("選擇目錄"), m_edit->text());
    if (!chosen.isEmpty()) m_edit->setText(chosen);
  });
  connect(helpButton, &QPushButton::toggled, m_help, &QWidget::setVisible);
  connect(editButton, &QPushButton::clicked, this, &ImportStepWindow::editIndex);
  connect(deleteButton, &QPushButton::clicked, this, &ImportStepWindow::bulkDelete);
  connect(leaveButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_grid, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { openAssignment(m_grid->item(row, 0)->text().toStdString()); });
  loadCategoryGrid();
}

QString ImportStepWindow::taxpayerLine() const {
  return QStringLiteral("統一編號：") + q(m_taxpayer.BAN) + QStringLiteral("  營業人名稱：") +
         q(m_taxpayer.BAN_NM_X30) + QStringLiteral("  稅籍編號：") + q(m_taxpayer.VAT_LOSN_X9);
}

void ImportStepWindow::loadCategoryGrid() {
  store::IndexQueries index(m_context.orbWin);
  store::AttachmentQueries sums(m_context.orbWin);
  const auto types = index.typesWithFiles(m_taxpayer.BAN);
  m_grid->setRowCount(static_cast<int>(types.size()));
  for (int r = 0; r < static_cast<int>(types.size()); ++r) {
    const std::string& type = types[static_cast<std::size_t>(r)];
    const bool known = store::isCategoryType(type);
    m_grid->setItem(r, 0, new QTableWidgetItem(q(type)));
    m_grid->setItem(
        r, 1,
        new QTableWidgetItem(amountText(
            known ? static_cast<double>(index.indexRowCount(m_taxpayer.BAN, type)) : 0)));
    m_grid->setItem(r, 2,
                    new QTableWidgetItem(
                        amountText(static_cast<double>(sums.fileCount(m_taxpayer.BAN, type)))));
    m_grid->setItem(r, 3,
                    new QTableWidgetItem(amountText(
                        static_cast<double>(sums.fileSizeTotal(m_taxpayer.BAN, {}, type)))));
  }
  if (m_grid->rowCount() > 0) m_grid->selectRow(0);
}

std::string ImportStepWindow::filingFolder() const {
  return m_custom->isChecked() ? m_edit->text().toStdString() + "/" : m_context.defaultFolder;
}

void ImportStepWindow::rememberFolder() {
  try {
    app::writePathIni(m_context.docDir, m_edit->text().toStdString(), kPathIniUploadMode);
  } catch (const Error& error) {
    // The folder stays usable for this import; only remembering it failed.
    m_context.interaction.showMessage(
        MessageKind::Warning,
        "無法記錄申報檔位置「" + m_edit->text().toStdString() + "」：" + error.what());
  }
}

void ImportStepWindow::editIndex() {
  if (m_category->currentIndex() < 0) {
    m_context.interaction.showMessage(MessageKind::Plain, "請選擇附件類別");
    return;
  }
  const std::string type = m_category->currentData().toString().toStdString();
  if (m_custom->isChecked()) rememberFolder();
  index::IndexImportFlow flow(m_context.interaction, m_context.orbWin, m_context.orbCode);
  flow.setProgress([this](std::int64_t done, std::int64_t total) {
    m_context.interaction.showStatus(
        StatusKind::Note, "讀取申報檔 " + std::to_string(done) + " / " + std::to_string(total));
  });
  const auto outcome = flow.editCategory({m_taxpayer.BAN, type, filingFolder(), m_context.period});
  if (outcome == index::EditOutcome::Stopped) return;
  openAssignment(type);
}

void ImportStepWindow::openAssignment(const std::string& type) {
  AssignmentWindow window(m_context, taxpayerLine(), m_taxpayer.BAN, type,
                          q(store::CategoryQueries(m_context.orbCode).categoryName(type)), this);
  (void)m_context.run(window);
  loadCategoryGrid();
}

void ImportStepWindow::bulkDelete() {
  const int row = m_grid->currentRow();
  if (row < 0) return;
  index::IndexImportFlow flow(m_context.interaction, m_context.orbWin, m_context.orbCode);
  if (flow.deleteCategoryAsked(m_taxpayer.BAN, m_grid->item(row, 0)->text().toStdString())) {
    loadCategoryGrid();
  }
}

void ImportStepWindow::done(int result) {
  rememberFolder();
  QDialog::done(result);
}

}  // namespace athup::gui
