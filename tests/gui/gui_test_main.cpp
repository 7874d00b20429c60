// The window tests run on Qt's offscreen platform; no dialog may ever wait for a person, so every
// message box and file dialog answers by itself unless a test scripts it.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/dialogs/file_dialog.h"
#include "gui/dialogs/message_box.h"
#include "gui/support/fonts.h"
#include "gui/support/qt_translations.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                  : qgetenv("QT_QPA_PLATFORM"));
  QApplication application(argc, argv);
  athup::gui::installFontSubstitutions();
  (void)athup::gui::installQtTranslations(application);  // as the program does; tested on its own
  athup::gui::MessageBox::setAutoAnswer(true);
  athup::gui::FileDialog::setAutoCancel(true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
