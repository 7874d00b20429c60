#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QHelpEvent>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "gui/shell/flow_areas.h"
#include "gui/shell/help_text_window.h"
#include "gui/shell/workflow_window.h"
#include "gui_fixture.h"
#include "support/scripted_interaction.h"

namespace athup::gui {
namespace {

TEST(HelpTexts, EveryStepHasABig5HelpTextTheWindowReads) {
  const struct {
    const char* file;
    const char* heading;
  } helps[] = {{"HELP_ORBATT_STEP1.txt", "步驟一"},
               {"HELP_ORBATT_STEP21.txt", "附件資料上傳"},
               {"HELP_ORBATT_STEP22.txt", "媒體檔申報"},
               {"HELP_ORBATT_STEP3.txt", "附件上傳結果查詢"}};
  for (const auto& help : helps) {
    HelpTextWindow form;
    ASSERT_TRUE(form.loadFile(testing::resourcesDir() / "Help" / help.file)) << help.file;
    const QString text = form.memo()->toPlainText();
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("步驟"))) << help.file;
    EXPECT_TRUE(text.contains(QString::fromUtf8(help.heading))) << help.file;
    EXPECT_FALSE(text.contains(QChar(0xFFFD))) << help.file;
    EXPECT_FALSE(text.contains(QLatin1Char('\r'))) << help.file;
  }
}

TEST(HelpTexts, WindowLooksAndAMissingFileIsReportedByName) {
  HelpTextWindow form;
  EXPECT_EQ(form.windowTitle().toStdString(), "說明");
  EXPECT_EQ(form.size(), QSize(653, 341));
  EXPECT_EQ(form.closeButton()->text().toStdString(), "關閉視窗");
  EXPECT_TRUE(form.memo()->isReadOnly());
  form.memo()->setPlainText(QStringLiteral("kept"));
  EXPECT_FALSE(form.loadFile(testing::resourcesDir() / "Help" / "NOPE.txt"));
  EXPECT_EQ(form.memo()->toPlainText().toStdString(), "kept");

  athup::testing::ScriptedInteraction ui;
  HelpTextWindow::showHelpFile(nullptr, ui, testing::resourcesDir() / "Help", "HELP_MISSING.txt");
  EXPECT_EQ(ui.messages(),
            std::vector<std::string>{"無法載入附件上傳資料檔填寫說明檔:\"HELP_MISSING.txt\""});
}

TEST(Workflow, PictureFollowsTheDate) {
  EXPECT_EQ(WorkflowWindow::pictureName("1071231"), "ORBATH-flow.jpg");
  EXPECT_EQ(WorkflowWindow::pictureName("1080101"), "ORBATH-flow_V4.jpg");
  EXPECT_EQ(WorkflowWindow::pictureName("1130315"), "ORBATH-flow_V4.jpg");
  EXPECT_EQ(WorkflowWindow::pictureName(""), "ORBATH-flow.jpg");
}

TEST(Workflow, AreasSitAtTheirPlacesWithAHandCursor) {
  WorkflowWindow flow(testing::deliveredProgram(), "1130315");
  const struct {
    const char* name;
    QRect rect;
  } expected[] = {{"entryArea", {47, 102, 111, 49}},
                  {"uploadArea", {311, 46, 111, 48}},
                  {"resultArea", {476, 44, 170, 49}},
                  {"mediaArea", {315, 157, 111, 48}},
                  {"closeArea", {478, 154, 164, 43}}};
  for (const auto& area : expected) {
    QPushButton* button = flow.area(area.name);
    ASSERT_NE(button, nullptr) << area.name;
    EXPECT_EQ(button->geometry(), area.rect) << area.name;
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor) << area.name;
  }
}

// The pictures are drawn for the areas: inside each area lies a box (filled, not the white page)
// and just above it is the page again.
TEST(Workflow, BothPicturesHaveABoxUnderEveryArea) {
  for (const char* picture : {"ORBATH-flow.jpg", "ORBATH-flow_V4.jpg"}) {
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString((testing::resourcesDir() / picture).string())))
        << picture;
    for (const FlowArea& area : kFlowAreas) {
      const QRect r = area.rect;
      ASSERT_TRUE(image.rect().contains(r)) << picture << " " << area.name;
      const QColor inside = image.pixelColor(r.left() + 6, r.top() + 6);
      const QColor above = image.pixelColor(r.center().x(), r.top() - 6);
      EXPECT_LT(inside.lightness(), 245) << picture << " " << area.name;
      EXPECT_GT(above.lightness(), 245) << picture << " " << area.name;
    }
  }
}

TEST(Workflow, HintsShowAfterOneSecondOnAnAreaOrThePicture) {
  for (const char* name : {"uploadArea", "imgFlow"}) {
    SCOPED_TRACE(name);
    QToolTip::hideText();
    QTest::qWait(400);  // the previous hint goes away after a short fade
    WorkflowWindow flow(testing::deliveredProgram(), "1130315");
    flow.resize(720, 300);
    flow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&flow));
    auto* target = flow.findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(target, nullptr);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(target, &enter);
    // Qt's own hint event comes earlier; it must not show the hint before the second is up.
    QHelpEvent early(QEvent::ToolTip, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(target, &early);
    QTest::qWait(700);
    EXPECT_FALSE(QToolTip::isVisible());
    QTest::qWait(600);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text().toStdString(), WorkflowWindow::kHint);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(target, &leave);
  }
  EXPECT_EQ(WorkflowWindow::kHintDelayMs, 1000);
}

TEST(Workflow, MissingPictureIsReportedWhenShown) {
  app::ProgramLocation nowhere{testing::resourcesDir() / "Help", testing::resourcesDir() / "Help"};
  WorkflowWindow flow(nowhere, "1130315");
  QString reported;
  QObject::connect(&flow, &WorkflowWindow::loadFailed,
                   [&](const QString& text) { reported = text; });
  flow.show();
  EXPECT_TRUE(reported.contains(QStringLiteral("ORBATH-flow_V4.jpg"))) << reported.toStdString();
}

}  // namespace
}  // namespace athup::gui
