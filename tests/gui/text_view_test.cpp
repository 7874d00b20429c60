#include <gtest/gtest.h>

#include <QPrinter>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>

#include "app/notice/rtf_reader.h"
#include "common/big5.h"
#include "common/errors.h"
#include "gui/dialogs/file_dialog.h"
#include "gui/shell/text_viewer.h"
#include "gui_fixture.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::gui {
namespace {

using athup::testing::ScriptedInteraction;
using athup::testing::TempDir;

class TextViewTest : public ::testing::Test {
 protected:
  TempDir m_dir;
  ScriptedInteraction m_ui;
  TextViewer m_view{m_ui};
};

TEST_F(TextViewTest, NoticeModeShowsFormattedRichTextWithTheNoticeCaption) {
  const auto notice = testing::resourcesDir() / "ORBATTnotice.rtf";
  m_view.load(notice, TextViewer::ViewMode::Notice);
  EXPECT_EQ(m_view.windowTitle().toStdString(), "訊息公告 - " + notice.string());
  EXPECT_TRUE(m_view.isRichText());
  const std::string text = m_view.editor()->toPlainText().toStdString();
  EXPECT_NE(text.find("營業稅申報附件上傳系統"), std::string::npos);
  EXPECT_EQ(text.find("\\rtf"), std::string::npos);
  EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos);  // no undecodable Big5
  EXPECT_NE(m_view.editor()->toHtml().indexOf(QStringLiteral("font-weight")), -1);
  EXPECT_EQ(m_view.fileName(), notice);
}

TEST_F(TextViewTest, PlainTextModeShowsTheRawTextWithThePlainCaption) {
  const auto notice = testing::resourcesDir() / "ORBATTnotice.rtf";
  m_view.load(notice, TextViewer::ViewMode::PlainText);
  EXPECT_EQ(m_view.windowTitle().toStdString(), "純文字編輯器 - " + notice.string());
  EXPECT_FALSE(m_view.isRichText());
  EXPECT_TRUE(m_view.editor()->toPlainText().startsWith(QStringLiteral("{\\rtf1")));
}

TEST_F(TextViewTest, PlainFilesAreBig5AndSaveBackAsBig5WithCrLf) {
  const std::string big5 = common::utf8ToBig5("錯誤清單\r\n第二行：功能\r\n");
  const auto file = m_dir.write("list.txt", big5);
  m_view.load(file, TextViewer::ViewMode::PlainText);
  EXPECT_EQ(m_view.editor()->toPlainText().toStdString(), "錯誤清單\n第二行：功能\n");

  const auto copy = m_dir / "copy.txt";
  m_view.saveTo(copy);
  EXPECT_EQ(athup::testing::readFile(copy), big5 + "\r\n");  // the editor's last, empty line too
}

TEST_F(TextViewTest, AFileThatCannotBeLoadedLeavesThePreviousContent) {
  const auto file = m_dir.write("a.txt", "first");
  m_view.load(file, TextViewer::ViewMode::PlainText);
  EXPECT_THROW(m_view.load(m_dir / "missing.txt", TextViewer::ViewMode::Notice), Error);
  EXPECT_EQ(m_view.editor()->toPlainText().toStdString(), "first");
  EXPECT_EQ(m_view.windowTitle().toStdString(), "純文字編輯器 - " + file.string());
}

TEST_F(TextViewTest, ShowingReloadsTheRememberedFile) {
  const auto file = m_dir.write("a.txt", "old");
  m_view.load(file, TextViewer::ViewMode::PlainText);
  m_dir.write("a.txt", "new");
  m_view.show();
  EXPECT_EQ(m_view.editor()->toPlainText().toStdString(), "new");
  m_view.hide();
}

TEST_F(TextViewTest, OpenLoadsTheChosenFileInPlainModeAndCancelKeepsAll) {
  m_view.load(testing::resourcesDir() / "ORBATTnotice.rtf", TextViewer::ViewMode::Notice);
  const auto file = m_dir.write("b.txt", "opened");
  FileDialog::setNextFileName(QString());
  m_view.findChild<QAction*>(QStringLiteral("actOpen"))->trigger();
  EXPECT_TRUE(m_view.isRichText());
  FileDialog::setNextFileName(QString::fromStdString(file.string()));
  m_view.findChild<QAction*>(QStringLiteral("actOpen"))->trigger();
  EXPECT_FALSE(m_view.isRichText());
  EXPECT_EQ(m_view.editor()->toPlainText().toStdString(), "opened");
}

TEST_F(TextViewTest, SaveFailureIsReportedAndToolBarKeepsItsOrder) {
  m_view.load(m_dir.write("a.txt", "x"), TextViewer::ViewMode::PlainText);
  FileDialog::setNextFileName(QString::fromStdString((m_dir / "no/such/folder/x.txt").string()));
  m_view.findChild<QAction*>(QStringLiteral("actSave"))->trigger();
  ASSERT_EQ(m_ui.messages().size(), 1u);
  EXPECT_NE(m_ui.messages()[0].find("no/such/folder/x.txt"), std::string::npos);

  QStringList items;
  for (QAction* action : m_view.toolBar()->actions()) {
    items << (action->isSeparator() ? QStringLiteral("|") : action->text());
  }
  EXPECT_EQ(items.join(QLatin1Char(' ')).toStdString(),
            "Save Open | 列印設定 列印 | 設定字型 | 關閉預覽&C");
  EXPECT_EQ(m_view.findChild<QAction*>(QStringLiteral("actSave"))->toolTip().toStdString(),
            "Save Report");
  EXPECT_EQ(m_view.findChild<QAction*>(QStringLiteral("actOpen"))->toolTip().toStdString(),
            "Load Report");
  EXPECT_EQ(m_view.findChild<QAction*>(QStringLiteral("actClose"))->text().toStdString(),
            "關閉預覽&C");
}

TEST_F(TextViewTest, PrintsAsTheErrorListJobWithTheEditorFont) {
  m_view.load(m_dir.write("a.txt", common::utf8ToBig5("審核錯誤")),
              TextViewer::ViewMode::PlainText);
  QFont font = m_view.editor()->font();
  font.setPixelSize(20);
  m_view.setEditorFont(font);
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  const auto pdf = m_dir / "out.pdf";
  printer.setOutputFileName(QString::fromStdString(pdf.string()));
  m_view.printTo(printer);
  EXPECT_EQ(printer.docName().toStdString(), "營業稅審核錯誤清單");
  EXPECT_EQ(athup::testing::readFile(pdf).rfind("%PDF", 0), 0u);
  EXPECT_EQ(m_view.editor()->font().pixelSize(), 20);
}

TEST_F(TextViewTest, AltCClosesTheViewer) {
  m_view.show();
  m_view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&m_view));
  QTest::keyClick(&m_view, Qt::Key_C, Qt::AltModifier);
  EXPECT_FALSE(m_view.isVisible());
}

TEST(TextViewDefaults, ViewerSizeFontAndReadOnlyEditor) {
  ScriptedInteraction ui;
  TextViewer view(ui);
  EXPECT_EQ(view.size(), QSize(800, 487));
  EXPECT_TRUE(view.editor()->isReadOnly());
  EXPECT_EQ(view.editor()->lineWrapMode(), QTextEdit::NoWrap);
  EXPECT_EQ(view.editor()->font().family().toStdString(), "細明體");
  EXPECT_EQ(view.editor()->font().pixelSize(), 12);
}

}  // namespace
}  // namespace athup::gui
