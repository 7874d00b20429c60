// athup-screenshots DIR: saves a picture of every window of the desktop program into DIR, for the
// documentation (scripts/screenshots runs it on a virtual screen).
#include <QApplication>
#include <cstdio>

#include "gui/startup/desktop_program.h"
#include "gui/startup/screenshot_tour.h"
#include "gui/support/fonts.h"
#include "gui/support/qt_translations.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fputs("usage: athup-screenshots DIR\n", stderr);
    return 2;
  }
  QApplication::setApplicationName(QStringLiteral("athup"));
  athup::gui::installFontSubstitutions();
  QApplication::setFont(athup::gui::mingFont(13));
  (void)athup::gui::installQtTranslations(application);

  athup::gui::DesktopProgram program;
  return athup::gui::ScreenshotTour(program).run(QString::fromLocal8Bit(argv[1]));
}
