#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "gui/startup/desktop_program.h"
#include "gui/support/fonts.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("athup"));
  athup::gui::installFontSubstitutions();
  QApplication::setFont(athup::gui::mingFont(13));

  // The standard buttons (是, 否, 確定, 取消) in Traditional Chinese, as the users expect.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::Taiwan), QStringLiteral("qtbase"),
                   QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }

  athup::gui::DesktopProgram program;
  // A hidden switch for the documentation: save a picture of every window and stop.
  const QByteArray screenshots = qgetenv("ATHUP_SCREENSHOT_DIR");
  if (!screenshots.isEmpty()) return program.saveScreenshots(QString::fromLocal8Bit(screenshots));
  return program.run();
}
