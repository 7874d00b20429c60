#include "gui/startup/screenshot_tour.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include "app/period_field.h"
#include "app/period_input.h"
#include "gui/dialogs/message_box.h"
#include "gui/shell/help_text_window.h"
#include "gui/shell/text_viewer.h"
#include "gui/startup/desktop_program.h"
#include "gui/startup/logo_texts.h"
#include "gui/startup/splash_window.h"
#include "gui/support/qt_text.h"

namespace athup::gui {
namespace {

void settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool save(QWidget& window, const QDir& folder, const QString& name) {
  settle();
  const QString file = folder.filePath(name);
  if (!window.grab().save(file, "PNG")) {
    qWarning("cannot write %s", qPrintable(file));
    return false;
  }
  qInfo("%s", qPrintable(file));
  return true;
}

}  // namespace

int ScreenshotTour::run(const QString& folderName) {
  DesktopProgram& p = m_program;
  QDir folder(folderName);
  if (!folder.mkpath(QStringLiteral("."))) {
    qWarning("cannot create %s", qPrintable(folderName));
    return 1;
  }
  DesktopProgram::useProgramTitle();
  QApplication::setQuitOnLastWindowClosed(false);
  MessageBox::setAutoAnswer(true);
  bool ok = true;

  p.m_session->loadVersion();
  {
    auto splash = p.makeSplash(true, nullptr);
    splash->setOnFirstActivation({});
    splash->show();
    // The notice panel has slid in after the fourth tick.
    for (int i = 0; i < 4; ++i) splash->tick();
    ok &= save(*splash, folder, QStringLiteral("01-splash.png"));
    splash->hide();
  }
  {
    TextViewer viewer(p.m_interaction);
    try {
      viewer.load(p.m_session->program().deliveryFile(DesktopProgram::kNoticeFile),
                  TextViewer::ViewMode::Notice);
    } catch (const std::exception& error) {
      qWarning("%s", error.what());
      ok = false;
    }
    viewer.show();
    ok &= save(viewer, folder, QStringLiteral("02-notice.png"));
  }

  p.m_mainForm = std::make_unique<MainWindow>(p.m_interaction, p.m_settings, p.shellServices());
  p.m_interaction.setParent(p.m_mainForm.get());
  p.m_interaction.setStatusSlots(p.m_mainForm->statusSlots());
  {
    std::unique_ptr<QDialog> period = p.makePeriodWindow(nullptr);
    period->show();
    ok &= save(*period, folder, QStringLiteral("03-period.png"));
  }
  const auto period = app::PeriodField::fromField(app::defaultPeriod(p.m_clock));
  if (!p.m_session->prepareEnvironment(std::get<app::PeriodField>(period))) {
    qWarning("preparing the default period failed: %s", qPrintable(MessageBox::lastText()));
  }
  p.m_mainForm->resize(1024, 720);
  p.m_mainForm->show();
  p.m_mainForm->openFlow();
  ok &= save(*p.m_mainForm, folder, QStringLiteral("04-main.png"));
  {
    HelpTextWindow help;
    const auto helpFolder = p.m_session->program().deliveryFile("Help");
    if (!help.loadFile(helpFolder / "HELP_ORBATT_STEP1.txt")) {
      qWarning("no help text in %s", helpFolder.string().c_str());
      ok = false;
    }
    help.show();
    ok &= save(help, folder, QStringLiteral("05-help.png"));
  }
  p.m_mainForm->hide();
  return ok ? 0 : 1;
}

}  // namespace athup::gui
