#include "gui/startup/desktop_program.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QTimer>

#include "app/filing_context_builder.h"
#include "app/lookup_reports.h"
#include "app/period_input.h"
#include "app/shared_doc_dir.h"
#include "app/startup_rules.h"
#include "app/version_check.h"
#include "app/version_record.h"
#include "common/connectivity.h"
#include "gui/dialogs/message_box.h"
#include "gui/index/attachment_entry.h"
#include "gui/index/file_selection_dialog.h"
#include "gui/receipts/receipt_files_printing.h"
#include "gui/shell/help_text_window.h"
#include "gui/shell/text_viewer.h"
#include "gui/startup/logo_texts.h"
#include "gui/startup/period_window.h"
#include "gui/startup/splash_window.h"
#include "gui/startup/version_check_window.h"
#include "gui/support/qt_text.h"
#include "gui/upload/media_window.h"
#include "gui/upload/result_window.h"
#include "gui/upload/upload_window.h"
#include "store/queries/taxpayer_queries.h"

namespace athup::gui {

DesktopProgram::DesktopProgram() : DesktopProgram(app::Environment::fromProcess(), {}) {}

DesktopProgram::DesktopProgram(app::Environment environment, app::ProgramLocation program)
    : m_environment(std::move(environment)), m_settings(app::settingsFilePath(m_environment)) {
  if (program.exeDir.empty()) {
    program = app::locateProgram(app::currentExecutableDir(), m_environment);
  }
  app::SessionSetup setup{m_settings,
                          m_interaction,
                          m_clock,
                          std::move(program),
                          app::sharedDocDir(m_environment),
                          m_environment.tempFolder()};
  m_session = std::make_unique<app::AppSession>(std::move(setup));
}

DesktopProgram::~DesktopProgram() = default;

std::unique_ptr<SplashWindow> DesktopProgram::makeSplash(bool withWelcome, QWidget* parent) {
  SplashWindow::Texts texts =
      logoTexts(m_session->version(), m_session->program(), m_clock, withWelcome);
  auto splash = std::make_unique<SplashWindow>(std::move(texts), parent);
  SplashWindow* raw = splash.get();
  splash->setOnFirstActivation([this, raw] { showNotice(raw); });
  return splash;
}

void DesktopProgram::showNotice(QWidget* owner) {
  TextViewer viewer(m_interaction, owner);
  try {
    viewer.load(m_session->program().deliveryFile(kNoticeFile), TextViewer::ViewMode::Notice);
  } catch (const std::exception& error) {
    // Reported like any uncaught error; the splash stays without the viewer.
    m_interaction.showMessage(MessageKind::Error, error.what());
    return;
  }
  viewer.exec();
}

std::unique_ptr<QDialog> DesktopProgram::makePeriodWindow(QWidget* parent) {
  return std::make_unique<PeriodWindow>(
      m_interaction, app::defaultPeriod(m_clock),
      [this](const app::PeriodField& period) { return m_session->prepareEnvironment(period); },
      parent);
}

void DesktopProgram::useProgramTitle() {
  // The title goes on boxes without a caption of their own. It is not Qt's display name: the
  // platform would add that to every window's caption, and the captions are fixed texts.
  MessageBox::setDefaultCaption(QString::fromUtf8(kProgramTitle));
}

ShellServices DesktopProgram::shellServices() {
  ShellServices services;
  services.location = m_session->program();
  services.title = kProgramTitle;
  services.version = [this] { return m_session->version().gVersion; };
  services.today = [this] { return m_session->period().gToday; };
  services.isOnline = [] { return common::isInternetOnline(); };
  services.makeAbout = [this](QWidget* parent) -> std::unique_ptr<QDialog> {
    return makeSplash(false, parent);
  };
  services.makePeriodWindow = [this](QWidget* parent) { return makePeriodWindow(parent); };
  services.openVersionCheck = [this](QWidget* parent) { openVersionCheck(parent); };
  services.dataModuleReady = [this] { return m_session->dataModule() != nullptr; };
  services.terminationRequested = [](QDialog& window) {
    auto* period = qobject_cast<PeriodWindow*>(&window);
    return period && period->terminationRequested();
  };
  services.openAttachmentEntry = [this](QWidget* parent) {
    AttachmentEntry::open(indexWindowContext(), parent);
  };
  services.makeResultWindow = [this]() -> QWidget* {
    return new ResultWindow(
        ResultWindowContext{m_interaction, m_session->orbWin(), m_session->orbCode(), certificate(),
                            [this] { return app::buildFilingContext(*m_session); },
                            m_session->period().gDataYM, m_session->folders().gHelpPath,
                            [this](QWidget* parent) {
                              printReceiptFiles(parent, *m_session, m_interaction, {"*.prn"});
                            }});
  };
  services.openMedia = [this](QWidget* parent) { MediaWindow::open(indexWindowContext(), parent); };
  services.openUpload = [this](QWidget* parent) { openUpload(parent); };
  return services;
}

IndexWindowContext DesktopProgram::indexWindowContext() {
  return IndexWindowContext{m_interaction,
                            m_session->orbWin(),
                            m_session->orbCode(),
                            m_session->period().gDataYM,
                            m_session->folders().gPeriodDefaultPath,
                            m_session->folders().gHelpPath,
                            m_session->docDir(),
                            {},
                            {}};
}

app::CertificateSession& DesktopProgram::certificate() {
  if (!m_certificate)
    m_certificate = std::make_unique<app::CertificateSession>(m_interaction, m_card, m_settings);
  return *m_certificate;
}

void DesktopProgram::openUpload(QWidget* parent) {
  UploadWindowContext context{
      m_interaction,
      certificate(),
      m_session->period().gDataYM,
      m_session->folders().gHelpPath,
      [this](Interaction& ui, upload::CertificatePort& certificate) {
        auto run = std::make_unique<upload::UploadRun>(ui, certificate,
                                                       app::buildFilingContext(*m_session),
                                                       m_session->orbWin(), m_session->orbCode());
        run->setTaxpayerLookup([this, &ui](const std::string& ban) {
          store::TaxpayerQueries taxpayers(m_session->orbCode());
          return app::findTaxpayerOrReport(taxpayers, ui, ban).has_value();
        });
        return run;
      },
      [this](QWidget* owner) -> std::optional<std::string> {
        FileSelectionDialog dialog(m_settings, m_session->folders().gPeriodDefaultPath, owner);
        if (dialog.exec() != QDialog::Accepted || dialog.folder().empty()) return std::nullopt;
        return dialog.folder();
      }};
  UploadWindow window(std::move(context), parent);
  (void)window.exec();
}

void DesktopProgram::openVersionCheck(QWidget* parent) {
  app::VersionCheckRequest request;
  request.localVersion = m_session->version().gVersion;
  request.localVersionDate = m_session->version().gVersionDate;
  request.sslIp = m_settings.readString(app::kOrbKey, "ssl_ip");
  request.proxyIp = m_settings.readString(app::kOrbKey, "proxy_ip");
  request.proxyPort = m_settings.readString(app::kOrbKey, "proxy_port");
  request.caFile = m_settings.readString(app::kOrbKey, "ca_file");
  request.debugMode = m_session->period().gDebugMode;
  const app::VersionCheckOutcome outcome = app::runVersionCheck(request, m_interaction);
  VersionCheckWindow window(outcome, parent);
  (void)window.exec();
}

int DesktopProgram::run() {
  useProgramTitle();
  QApplication::setWindowIcon(QIcon(fromPath(m_session->program().deliveryFile("athup.png"))));
  // Until the main loop runs, closing a start-up window must not end the program.
  QApplication::setQuitOnLastWindowClosed(false);

  m_session->loadVersion();
  {
    auto splash = makeSplash(true, nullptr);
    (void)splash->exec();
  }

  m_mainForm = std::make_unique<MainWindow>(m_interaction, m_settings, shellServices());
  m_interaction.setParent(m_mainForm.get());
  m_interaction.setStatusSlots(m_mainForm->statusSlots());

  {
    std::unique_ptr<QDialog> period = makePeriodWindow(nullptr);
    if (period->exec() != QDialog::Accepted) return 0;
  }

  app::askVersionCheck(
      m_interaction, [] { return common::isInternetOnline(); },
      [this] { openVersionCheck(m_mainForm.get()); });

  try {
    (void)m_session->createDataModule();
  } catch (const std::exception& error) {
    // The main window still opens, so the user can read the message and change the period.
    m_interaction.showMessage(MessageKind::Error, error.what());
  }

  QApplication::setQuitOnLastWindowClosed(true);
  m_mainForm->showMaximized();
  return QApplication::exec();
}

}  // namespace athup::gui
