#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/version_banner.h"
#include "gui/startup/desktop_program.h"
#include "gui/support/fonts.h"
#include "gui/support/qt_translations.h"

int main(int argc, char** argv) {
  // Answered before any window exists, so it works without a screen.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::fputs(athup::app::versionBannerOfThisProgram("athup", ATHUP_PROJECT_VERSION).c_str(),
               stdout);
    return 0;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("athup"));
  athup::gui::installFontSubstitutions();
  QApplication::setFont(athup::gui::mingFont(13));
  (void)athup::gui::installQtTranslations(application);  // without it the buttons stay English

  athup::gui::DesktopProgram program;
  return program.run();
}
