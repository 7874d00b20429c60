#include "gui/shell/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>

#include "app/app_texts.h"
#include "app/startup_rules.h"
#include "app/version_record.h"
#include "gui/shell/status_slots.h"
#include "gui/shell/workflow_window.h"
#include "gui/support/qt_text.h"

namespace athup::gui {

MainWindow::MainWindow(Interaction& interaction, app::SettingsStore& settings,
                       ShellServices services, QWidget* parent)
    : QMainWindow(parent),
      m_interaction(interaction),
      m_settings(settings),
      m_services(std::move(services)),
      m_mdi(new QMdiArea(this)),
      m_status(new StatusSlots(statusBar())) {
  setObjectName(QStringLiteral("ORBMainForm"));
  setCentralWidget(m_mdi);
  m_mdi->setObjectName(QStringLiteral("mdiArea"));
  buildMenu();
  updateCaption();
}

MainWindow::~MainWindow() {
  // Child windows still open are destroyed after this object; their menu switch must not reach it.
  for (QMdiSubWindow* sub : m_mdi->subWindowList()) disconnect(sub, nullptr, this, nullptr);
}

std::string MainWindow::notYetAvailableText(const std::string& function) {
  return "本版本尚未提供「" + function + "」功能，將於後續版本開放。";
}

std::string MainWindow::dataModuleMissingText(const std::string& function) {
  return "資料模組未能啟動，無法開啟「" + function +
         "」。請確認資料庫目錄中的資料表無誤後，重新啟動本程式。";
}

QAction* MainWindow::addItem(QMenu* menu, const char* name, const QString& caption,
                             const QKeySequence& shortcut, void (MainWindow::*slot)()) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  if (slot) connect(action, &QAction::triggered, this, slot);
  m_actions[action->objectName()] = action;
  return action;
}

void MainWindow::buildMenu() {
  QMenuBar* bar = menuBar();
  QMenu* entry = bar->addMenu(QStringLiteral("附件資料登錄(&A)"));
  addItem(entry, "actEntry", QStringLiteral("附件資料登錄"), QKeySequence(Qt::CTRL | Qt::Key_A),
          &MainWindow::onEntry);
  entry->addSeparator();
  QAction* quit =
      addItem(entry, "actQuit", QStringLiteral("離開(&Q)"), QKeySequence(Qt::Key_F12), nullptr);
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu* filing = bar->addMenu(QStringLiteral("申報(&B)"));
  addItem(filing, "actUpload", QStringLiteral("附件資料上傳"), {}, &MainWindow::onUpload);
  addItem(filing, "actMedia", QStringLiteral("媒體檔申報"), {}, &MainWindow::onMedia);

  QMenu* query = bar->addMenu(QStringLiteral("查詢作業(&C)"));
  addItem(query, "actResult", QStringLiteral("附件上傳結果查詢"), {}, &MainWindow::onResult);

  QMenu* other = bar->addMenu(QStringLiteral("其他(&D)"));
  addItem(other, "actExport", QStringLiteral("申報紀錄匯出"), {}, nullptr)->setVisible(false);
  addItem(other, "actImport", QStringLiteral("申報紀錄匯入"), {}, nullptr)->setVisible(false);
  addItem(other, "actPeriod", QStringLiteral("所屬年月份變更"), {}, &MainWindow::onChangePeriod);

  QMenu* windows = bar->addMenu(QStringLiteral("視窗排列(&W)"));
  connect(addItem(windows, "actTile", QStringLiteral("水平並排(&H)"), {}, nullptr),
          &QAction::triggered, m_mdi, &QMdiArea::tileSubWindows);
  connect(addItem(windows, "actCascade", QStringLiteral("重疊顯示(&V)"), {}, nullptr),
          &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);

  QMenu* version = bar->addMenu(QStringLiteral("版本(&V)"));
  addItem(version, "actAbout", QStringLiteral("版本資訊(&V)"), {}, &MainWindow::onAbout);
  addItem(version, "actVersionCheck", QStringLiteral("版本檢查(&C)"), {},
          &MainWindow::onVersionCheck);
  addItem(version, "actFlow", QStringLiteral("上傳流程(&W)"), QKeySequence(Qt::CTRL | Qt::Key_W),
          &MainWindow::openFlow);

  m_menus = {entry, filing, query, other, windows, version};
}

QAction* MainWindow::action(const QString& name) const {
  auto found = m_actions.find(name);
  return found == m_actions.end() ? nullptr : found->second;
}

QList<QMenu*> MainWindow::topMenus() const {
  return m_menus;
}

void MainWindow::showStatus(StatusKind kind, const QString& text) {
  m_status->showStatus(kind, text);
}

void MainWindow::enableMainMenu(bool enabled) {
  for (QMenu* menu : m_menus) menu->menuAction()->setEnabled(enabled);
}

WorkflowWindow* MainWindow::flowWindow() const {
  return m_flow ? qobject_cast<WorkflowWindow*>(m_flow->widget()) : nullptr;
}

void MainWindow::openFlow() {
  if (m_flow) {
    if (!m_flow->isMaximized()) m_flow->showMaximized();
    return;
  }
  const std::string today = m_services.today ? m_services.today() : std::string();
  auto* flow = new WorkflowWindow(m_services.location, today);
  connect(flow, &WorkflowWindow::entryRequested, this, &MainWindow::onEntry);
  connect(flow, &WorkflowWindow::uploadRequested, this, &MainWindow::onUpload);
  connect(flow, &WorkflowWindow::resultRequested, this, &MainWindow::onResult);
  connect(flow, &WorkflowWindow::mediaRequested, this, &MainWindow::onMedia);
  connect(flow, &WorkflowWindow::closeRequested, this, &QWidget::close);
  connect(flow, &WorkflowWindow::loadFailed, this, [this](const QString& message) {
    m_interaction.showMessage(MessageKind::Error, message.toStdString());
  });
  // The window is destroyed when it closes; the QPointer then clears the reference.
  QMdiSubWindow* sub = m_mdi->addSubWindow(flow, Qt::SubWindow | Qt::FramelessWindowHint);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->installEventFilter(this);
  m_flow = sub;
  sub->showMaximized();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // A closed workflow window (it never refuses to close) is gone for the menu at once, though Qt
  // deletes it a moment later.
  if (watched == m_flow && event->type() == QEvent::Close) m_flow = nullptr;
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::updateCaption() {
  const std::string version = m_services.version ? m_services.version() : std::string();
  setWindowTitle(qs(m_services.title + " (" + app::versionLabel(version) + ")"));
}

int MainWindow::runModal(QDialog& dialog) {
  if (m_services.runModal) return m_services.runModal(dialog);
  return dialog.exec();
}

void MainWindow::notYet(const char* function) {
  m_interaction.showMessage(MessageKind::Information, notYetAvailableText(function));
}

void MainWindow::openStep(const char* function) {
  // A window built on a data module that failed to start would hold nothing and fail later.
  if (m_services.dataModuleReady && !m_services.dataModuleReady()) {
    m_interaction.showMessage(MessageKind::Error, dataModuleMissingText(function));
    return;
  }
  notYet(function);
}

void MainWindow::openStepWith(const std::function<void(QWidget*)>& open, const char* function) {
  if (!open) {
    openStep(function);
    return;
  }
  if (m_services.dataModuleReady && !m_services.dataModuleReady()) {
    m_interaction.showMessage(MessageKind::Error, dataModuleMissingText(function));
    return;
  }
  // The step windows switch the main menu off while they are open.
  enableMainMenu(false);
  open(this);
  enableMainMenu(true);
}

void MainWindow::onEntry() {
  openStepWith(m_services.openAttachmentEntry, "附件資料登錄");
}

void MainWindow::onUpload() {
  if (!m_services.openUpload) {
    openStep("附件資料上傳");
    return;
  }
  if (m_services.dataModuleReady && !m_services.dataModuleReady()) {
    m_interaction.showMessage(MessageKind::Error, dataModuleMissingText("附件資料上傳"));
    return;
  }
  enableMainMenu(false);
  m_services.openUpload(this);
  enableMainMenu(true);
}

void MainWindow::onMedia() {
  openStepWith(m_services.openMedia, "媒體檔申報");
}

void MainWindow::onResult() {
  if (!m_services.makeResultWindow) {
    openStep("附件上傳結果查詢");
    return;
  }
  if (m_services.dataModuleReady && !m_services.dataModuleReady()) {
    m_interaction.showMessage(MessageKind::Error, dataModuleMissingText("附件上傳結果查詢"));
    return;
  }
  // Any number may be open; each switches the main menu off while it is created or active and
  // on again when it closes.
  QWidget* window = m_services.makeResultWindow();
  QMdiSubWindow* sub = m_mdi->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  connect(sub, &QMdiSubWindow::aboutToActivate, this, [this] { enableMainMenu(false); });
  connect(sub, &QObject::destroyed, this, [this] { enableMainMenu(true); });
  enableMainMenu(false);
  sub->show();
}

void MainWindow::onChangePeriod() {
  if (!m_services.makePeriodWindow) return;
  std::unique_ptr<QDialog> window = m_services.makePeriodWindow(this);
  (void)runModal(*window);  // the result is not used here; only its "取消" matters
  const bool terminate =
      m_services.terminationRequested && m_services.terminationRequested(*window);
  window.reset();
  if (terminate) close();
}

void MainWindow::onAbout() {
  if (!m_services.makeAbout) return;
  std::unique_ptr<QDialog> about = m_services.makeAbout(this);
  (void)runModal(*about);
}

void MainWindow::onVersionCheck() {
  if (m_services.isOnline && m_services.isOnline()) {
    if (m_services.openVersionCheck) {
      m_services.openVersionCheck(this);
    } else {
      notYet("版本檢查");
    }
  } else {
    m_interaction.showMessage(MessageKind::Plain, std::string(app::texts::kOffline));
  }
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (m_shownOnce) return;
  m_shownOnce = true;
  if (app::showWorkflowAtStart(m_settings)) openFlow();
  updateCaption();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  try {
    app::onMainWindowClose(m_settings);
  } catch (const std::exception& error) {
    // The program ends anyway; the user learns the key could not be removed.
    m_interaction.showMessage(MessageKind::Error, error.what());
  }
  event->accept();
}

}  // namespace athup::gui
