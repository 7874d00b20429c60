#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace athup::gui {
namespace {

// The test program's main loads Qt's texts the way the desktop program does.
TEST(QtTranslations, StandardButtonsReadInTraditionalChinese) {
  const QString file =
      QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_TW.qm");
  if (!QFileInfo::exists(file)) {
    GTEST_SKIP() << "Qt's Traditional Chinese texts are not installed (" << file.toStdString()
                 << "; Debian package qt6-translations-l10n)";
  }
  QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
  const struct {
    QMessageBox::StandardButton button;
    const char* text;
  } cases[] = {{QMessageBox::Yes, "是"},
               {QMessageBox::No, "否"},
               {QMessageBox::Ok, "確定"},
               {QMessageBox::Cancel, "取消"}};
  for (const auto& c : cases) {
    // Yes and No carry their keyboard mnemonic after the word, as "是(&Y)".
    QString text = box.button(c.button)->text();
    text.remove(QRegularExpression(QStringLiteral("\\(&[A-Z]\\)$")));
    EXPECT_EQ(text.toStdString(), c.text);
  }
}

}  // namespace
}  // namespace athup::gui
