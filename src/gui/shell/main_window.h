#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/program_location.h"
#include "app/settings_store.h"
#include "common/interaction.h"

class QAction;
class QDialog;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace athup::gui {

class StatusSlots;
class WorkflowWindow;

// What the main window needs from the program around it. The start-up fills it; tests fill it
// with fakes.
struct ShellServices {
  app::ProgramLocation location;
  std::string title;                     // the program's title
  std::function<std::string()> version;  // gVersion
  std::function<std::string()> today;    // gToday of the current period
  std::function<bool()> isOnline;        // isInternetOnline
  // The splash as 版本資訊 shows it (without the welcome line), not yet shown.
  std::function<std::unique_ptr<QDialog>(QWidget* parent)> makeAbout;
  // The period window as 所屬年月份變更 shows it, not yet shown.
  std::function<std::unique_ptr<QDialog>(QWidget* parent)> makePeriodWindow;
  // True when that window's "取消" asked the program to end.
  std::function<bool(QDialog&)> terminationRequested;
  // True when the data module started; the step windows need it. Unset counts as started.
  std::function<bool()> dataModuleReady;
  // Runs the version check and shows its window (版本檢查); unset: not available yet.
  std::function<void(QWidget* parent)> openVersionCheck;
  // Shows a modal window; QDialog::exec unless a test replaces it.
  std::function<int(QDialog&)> runModal;
  // Opens the attachment work (附件資料登錄) over the parent; unset, the entry is not available.
  std::function<void(QWidget* parent)> openAttachmentEntry;
  // Opens the upload window (附件資料上傳) modally over the parent; unset, not available.
  std::function<void(QWidget* parent)> openUpload;
  // A new result window (附件上傳結果查詢), shown as a child window; unset, not available.
  std::function<QWidget*()> makeResultWindow;
  // Opens the media-file window (媒體檔申報) over the parent; unset, the entry is not available.
  std::function<void(QWidget* parent)> openMedia;
};

// The main window: multiple-document area, the main menu, the three-slot status bar and the one
// workflow window. Every step starts from here; closing it ends the program.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(Interaction& interaction, app::SettingsStore& settings, ShellServices services,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // The status bar's three kinds of text (note, alert, period line).
  void showStatus(StatusKind kind, const QString& text);
  // Enables or disables every top-level menu entry (the step windows switch it off while open).
  void enableMainMenu(bool enabled);
  // Opens the workflow window, or maximises the one already open.
  void openFlow();

  [[nodiscard]] StatusSlots* statusSlots() const { return m_status; }
  [[nodiscard]] QMdiArea* mdiArea() const { return m_mdi; }
  [[nodiscard]] WorkflowWindow* flowWindow() const;
  // The menu item by its object name (actEntry, actQuit, ...), for the window tests.
  [[nodiscard]] QAction* action(const QString& name) const;
  [[nodiscard]] QList<QMenu*> topMenus() const;

  // The text shown for a menu entry whose window comes in a later version.
  [[nodiscard]] static std::string notYetAvailableText(const std::string& function);
  // The text shown instead of a step window when the data module did not start.
  [[nodiscard]] static std::string dataModuleMissingText(const std::string& function);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                   const QKeySequence& shortcut, void (MainWindow::*slot)());
  void buildMenu();
  void updateCaption();
  int runModal(QDialog& dialog);
  void notYet(const char* function);
  // Opens a step window that needs the data module, or says why it cannot.
  void openStep(const char* function);
  // Opens a step window through its hook with the main menu off meanwhile, or says why it cannot.
  void openStepWith(const std::function<void(QWidget*)>& open, const char* function);

  void onEntry();
  void onUpload();
  void onMedia();
  void onResult();
  void onChangePeriod();
  void onAbout();
  void onVersionCheck();

  Interaction& m_interaction;
  app::SettingsStore& m_settings;
  ShellServices m_services;
  QMdiArea* m_mdi;
  StatusSlots* m_status;
  QPointer<QMdiSubWindow> m_flow;
  std::map<QString, QAction*> m_actions;
  QList<QMenu*> m_menus;
  bool m_shownOnce = false;
};

}  // namespace athup::gui
