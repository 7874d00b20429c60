#pragma once

#include <QString>
#include <memory>

#include "app/app_session.h"
#include "app/certificate_session.h"
#include "app/environment.h"
#include "app/ini_settings_store.h"
#include "common/clock.h"
#include "gui/index/index_window_context.h"
#include "gui/qt_interaction.h"
#include "gui/shell/main_window.h"
#include "security/certificates/card_client.h"

class QDialog;
class QWidget;

namespace athup::gui {

class SplashWindow;

// The desktop program: it owns the ports and the session, runs the start-up in its fixed order
// (version record, splash with the notice, period window, version question, main window) and
// then the main loop.
class DesktopProgram {
 public:
  static constexpr char kNoticeFile[] = "ORBATTnotice.rtf";

  // The program as started: the process environment, the folder of the executable.
  DesktopProgram();
  // The program with the given environment and program folder (the window tests run the whole
  // start-up in their own folders); an empty folder means the executable's.
  DesktopProgram(app::Environment environment, app::ProgramLocation program);
  ~DesktopProgram();

  // The whole run; returns the exit code.
  [[nodiscard]] int run();

 private:
  // The tour opens the program's own windows the way the start-up builds them.
  friend class ScreenshotTour;

  [[nodiscard]] std::unique_ptr<SplashWindow> makeSplash(bool withWelcome, QWidget* parent);
  void showNotice(QWidget* owner);
  [[nodiscard]] std::unique_ptr<QDialog> makePeriodWindow(QWidget* parent);
  // Asks the filing server for the current version and shows the version-check window.
  void openVersionCheck(QWidget* parent);
  // The upload window (附件資料上傳) over the parent, modally.
  void openUpload(QWidget* parent);
  [[nodiscard]] ShellServices shellServices();
  // What the attachment-entry and media windows work on: the period's tables and folders.
  [[nodiscard]] IndexWindowContext indexWindowContext();
  // The certificate the user chooses for the queries and uploads of this run.
  [[nodiscard]] app::CertificateSession& certificate();
  static void useProgramTitle();

  app::Environment m_environment;
  app::IniSettingsStore m_settings;
  SystemClock m_clock;
  QtInteraction m_interaction;
  std::unique_ptr<app::AppSession> m_session;
  security::NoCardClient m_card;
  std::unique_ptr<app::CertificateSession> m_certificate;
  std::unique_ptr<MainWindow> m_mainForm;
};

}  // namespace athup::gui
