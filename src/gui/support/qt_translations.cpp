#include "gui/support/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace athup::gui {

bool installQtTranslations(QCoreApplication& application) {
  // Owned by the application: a translator must outlive every text it translates.
  auto* translator = new QTranslator(&application);
  if (!translator->load(QLocale(QLocale::Chinese, QLocale::Taiwan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace athup::gui
