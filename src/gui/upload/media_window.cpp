#include "gui/upload/media_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/file_helpers.h"
#include "gui/shell/help_text_window.h"
#include "store/queries/taxpayer_queries.h"
#include "upload/media/media_run.h"
#include "upload/media/media_units.h"

namespace athup::gui {

namespace {

constexpr const char* kHelpFile = "HELP_ORBATT_STEP22.txt";

QString q(const std::string& text) {
  return QString::fromStdString(text);
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint = {}) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  if (!hint.isEmpty()) button->setToolTip(hint);
  return button;
}

std::vector<std::string> completeEntries(const IndexWindowContext& context) {
  store::TaxpayerQueries taxpayers(context.orbCode);
  return upload::MediaUnits::entries(context.orbWin, [&](std::string_view ban) {
    const auto record = taxpayers.findTaxpayer(ban);
    return record ? record->BAN_NM_X30 : std::string();
  });
}

}  // namespace

MediaWindow::MediaWindow(const IndexWindowContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_picker(completeEntries(context)),
      m_source(new QListWidget(this)),
      m_picked(new QListWidget(this)),
      m_destination(new QLineEdit(this)),
      m_include(makeButton(this, "includeButton", QStringLiteral(">"), QStringLiteral("選擇一筆"))),
      m_includeAll(
          makeButton(this, "includeAllButton", QStringLiteral(">>"), QStringLiteral("選擇全部"))),
      m_exclude(
          makeButton(this, "excludeButton", QStringLiteral("<"), QStringLiteral("取消選擇一筆"))),
      m_excludeAll(makeButton(this, "excludeAllButton", QStringLiteral("<<"),
                              QStringLiteral("取消選擇全部"))),
      m_create(makeButton(this, "createButton", QStringLiteral("產生媒體檔"))) {
  setObjectName(QStringLiteral("MediaWindow"));
  setWindowTitle(QStringLiteral("媒體檔申報"));
  m_source->setObjectName(QStringLiteral("sourceList"));
  m_picked->setObjectName(QStringLiteral("pickedList"));
  m_destination->setObjectName(QStringLiteral("destinationEdit"));
  for (QListWidget* list : {m_source, m_picked})
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* browse = makeButton(this, "browseButton", QStringLiteral("瀏覽"));
  auto* leave = makeButton(this, "leaveButton", QStringLiteral("離 開"));
  auto* help = makeButton(this, "helpButton", QStringLiteral("?"), QStringLiteral("顯示填表說明"));

  auto* moves = new QVBoxLayout;
  moves->addStretch();
  for (QPushButton* button : {m_include, m_includeAll, m_exclude, m_excludeAll})
    moves->addWidget(button);
  moves->addStretch();
  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel(QStringLiteral("尚未選定單位:"), this), 0, 0);
  lists->addWidget(new QLabel(QStringLiteral("已選定產生媒體檔單位:"), this), 0, 2);
  lists->addWidget(m_source, 1, 0);
  lists->addLayout(moves, 1, 1);
  lists->addWidget(m_picked, 1, 2);
  auto* destination = new QHBoxLayout;
  destination->addWidget(new QLabel(QStringLiteral("目的目錄:"), this));
  destination->addWidget(m_destination, 1);
  destination->addWidget(browse);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(help);
  buttons->addStretch();
  buttons->addWidget(m_create);
  buttons->addWidget(leave);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists, 1);
  layout->addLayout(destination);
  layout->addLayout(buttons);

  connect(m_include, &QPushButton::clicked, this, &MediaWindow::include);
  connect(m_includeAll, &QPushButton::clicked, this, &MediaWindow::includeAll);
  connect(m_exclude, &QPushButton::clicked, this, &MediaWindow::exclude);
  connect(m_excludeAll, &QPushButton::clicked, this, &MediaWindow::excludeAll);
  // A double-click moves the entry clicked, whatever else was selected.
  connect(m_source, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    refresh(m_source, m_picker.include({static_cast<std::size_t>(m_source->row(item))}));
  });
  connect(m_picked, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    refresh(m_picked, m_picker.exclude({static_cast<std::size_t>(m_picked->row(item))}));
  });
  connect(browse, &QPushButton::clicked, this, &MediaWindow::browse);
  connect(m_create, &QPushButton::clicked, this, &MediaWindow::create);
  connect(leave, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &MediaWindow::showHelp);
  refresh(m_source, std::nullopt);
}

void MediaWindow::open(const IndexWindowContext& context, QWidget* parent) {
  MediaWindow window(context, parent);
  (void)context.run(window);
}

QPushButton* MediaWindow::button(const QString& objectName) const {
  return findChild<QPushButton*>(objectName);
}

bool MediaWindow::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowDeactivate && m_warning) {
    // The warning's own box took the focus; getting it back is not a new activation.
    m_skipActivation = true;
  } else if (event->type() == QEvent::WindowActivate) {
    if (m_warning || m_skipActivation) {
      m_skipActivation = false;
    } else {
      m_warning = true;
      upload::MediaRun(m_context.interaction, m_context.orbWin, m_context.orbCode, m_context.period)
          .warnWhenIncomplete();
      m_warning = false;
    }
  }
  return handled;
}

std::vector<std::size_t> MediaWindow::selectedRows(const QListWidget* list) {
  std::vector<std::size_t> rows;
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->isSelected()) rows.push_back(static_cast<std::size_t>(row));
  }
  return rows;
}

void MediaWindow::include() {
  refresh(m_source, m_picker.include(selectedRows(m_source)));
}

void MediaWindow::includeAll() {
  refresh(m_source, m_picker.includeAll());
}

void MediaWindow::exclude() {
  refresh(m_picked, m_picker.exclude(selectedRows(m_picked)));
}

void MediaWindow::excludeAll() {
  refresh(m_picked, m_picker.excludeAll());
}

void MediaWindow::refresh(QListWidget* from, std::optional<std::size_t> next) {
  const auto fill = [](QListWidget* list, const std::vector<std::string>& entries) {
    list->clear();
    for (const auto& entry : entries) list->addItem(q(entry));
  };
  fill(m_source, m_picker.available());
  fill(m_picked, m_picker.picked());
  if (next) {
    from->setCurrentRow(static_cast<int>(*next));
    from->setFocus();
  }
  m_include->setEnabled(m_picker.canInclude());
  m_includeAll->setEnabled(m_picker.canInclude());
  m_exclude->setEnabled(m_picker.canExclude());
  m_excludeAll->setEnabled(m_picker.canExclude());
  m_create->setEnabled(m_picker.canExclude());
}

void MediaWindow::browse() {
  const auto folder = m_context.interaction.chooseFolder("選擇媒體申報檔複製目錄",
                                                         m_destination->text().toStdString());
  if (folder) m_destination->setText(q(*folder));
}

void MediaWindow::create() {
  std::vector<std::string> bans;
  for (const auto& entry : m_picker.picked()) bans.push_back(upload::MediaUnits::banOfEntry(entry));
  (void)upload::MediaRun(m_context.interaction, m_context.orbWin, m_context.orbCode,
                         m_context.period)
      .run(bans, m_destination->text().toStdString());
}

void MediaWindow::showHelp() {
  HelpTextWindow::showHelpFile(this, m_context.interaction,
                               common::pathFromUtf8(m_context.helpPath), kHelpFile);
}

}  // namespace athup::gui
