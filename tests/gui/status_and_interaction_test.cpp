#include <gtest/gtest.h>

#include <QDialog>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>

#include "gui/dialogs/file_dialog.h"
#include "gui/dialogs/message_box.h"
#include "gui/dialogs/password_dialog.h"
#include "gui/qt_interaction.h"
#include "gui/shell/status_slots.h"

namespace athup::gui {
namespace {

TEST(StatusSlots, KindsFillTheirSlotsAndNotesClearAfterTheInterval) {
  QMainWindow window;
  StatusSlots status(window.statusBar());
  status.setClearInterval(80);
  status.showStatus(StatusKind::Period, QStringLiteral("申報年期:11203資料所屬:11202"));
  status.showStatus(StatusKind::Alert, QStringLiteral("您的資料庫路徑為->/db/11202/"));
  status.showStatus(StatusKind::Note, QStringLiteral("存檔完成"));
  EXPECT_EQ(status.slotText(0).toStdString(), "存檔完成");
  EXPECT_EQ(status.slotText(1).toStdString(), "申報年期:11203資料所屬:11202");
  EXPECT_EQ(status.slotText(2).toStdString(), "您的資料庫路徑為->/db/11202/");
  EXPECT_EQ(window.toolTip().toStdString(), "您的資料庫路徑為->/db/11202/");

  QTest::qWait(40);
  status.showStatus(StatusKind::Note, QStringLiteral("第二則"));  // restarts the interval
  QTest::qWait(60);
  EXPECT_EQ(status.slotText(2).toStdString(), "您的資料庫路徑為->/db/11202/");
  EXPECT_TRUE(QTest::qWaitFor([&] { return status.slotText(0).isEmpty(); }, 1000));
  EXPECT_TRUE(status.slotText(2).isEmpty());
  EXPECT_EQ(status.slotText(1).toStdString(), "申報年期:11203資料所屬:11202");
  EXPECT_FALSE(status.clearingPending());
}

TEST(StatusSlots, PeriodLineAloneStartsNoClearing) {
  QMainWindow window;
  StatusSlots status(window.statusBar());
  status.showStatus(StatusKind::Period, QStringLiteral("申報年期:11203資料所屬:11202"));
  EXPECT_FALSE(status.clearingPending());
  EXPECT_EQ(status.kClearIntervalMs, 6000);
}

TEST(QtInteraction, MessageBoxesAndQuestionsTakeTheScriptedAnswer) {
  QtInteraction ui;
  MessageBox::setNextAnswer(Answer::Yes);
  EXPECT_EQ(ui.ask(MessageKind::Warning, "是否檢查新版本？", "版本檢查", Buttons::YesNo),
            Answer::Yes);
  EXPECT_EQ(MessageBox::lastText().toStdString(), "是否檢查新版本？");
  EXPECT_EQ(MessageBox::lastCaption().toStdString(), "版本檢查");
  // Without a scripted answer the box answers its safe default.
  EXPECT_EQ(ui.ask(MessageKind::Warning, "q", "c", Buttons::YesNo), Answer::No);
  EXPECT_EQ(ui.ask(MessageKind::Warning, "q", "c", Buttons::OkCancel), Answer::Cancel);
  ui.showMessage(MessageKind::Error, "日期輸入錯誤，請重新輸入！");
  EXPECT_EQ(MessageBox::lastText().toStdString(), "日期輸入錯誤，請重新輸入！");
}

// A box opens over the window the user works in: at start-up the period window is modal while
// the main window is not yet shown.
TEST(QtInteraction, BoxesOpenOverTheModalWindowElseTheShownMainWindow) {
  QtInteraction ui;
  QMainWindow main;
  ui.setParent(&main);
  EXPECT_EQ(ui.dialogParent(), nullptr);  // hidden: centred on the screen instead
  QDialog period;
  period.setModal(true);
  period.show();
  EXPECT_EQ(ui.dialogParent(), &period);
  period.hide();
  main.show();
  EXPECT_EQ(ui.dialogParent(), &main);
  QDialog step(&main);
  step.setModal(true);
  step.show();
  EXPECT_EQ(ui.dialogParent(), &step);
}

TEST(QtInteraction, ChoicesAndSecretsComeFromTheirDialogs) {
  QtInteraction ui;
  FileDialog::setNextFileName(QStringLiteral("/data/選擇/a.T02"));
  EXPECT_EQ(ui.chooseFile("開啟", "/data", "Text File (*.txt)|*.TXT"),
            std::optional<std::string>("/data/選擇/a.T02"));
  FileDialog::setNextFileName(QString());  // the user cancels
  EXPECT_EQ(ui.chooseFolder("選擇目錄", "/data"), std::nullopt);
  PasswordDialog::setNextSecret(QStringLiteral("密碼1234"));
  EXPECT_EQ(ui.askSecret("憑證", "請輸入 PIN 碼"), std::optional<std::string>("密碼1234"));
  PasswordDialog::setNextSecret(std::nullopt);
  EXPECT_EQ(ui.askSecret("憑證", "請輸入 PIN 碼"), std::nullopt);
}

TEST(QtInteraction, StatusTextsReachTheMainWindowSlotsOnceThereAreAny) {
  QtInteraction ui;
  ui.showStatus(StatusKind::Note, "no bar yet");  // dropped, no crash
  QMainWindow window;
  StatusSlots status(window.statusBar());
  ui.setStatusSlots(&status);
  ui.showStatus(StatusKind::Period, "申報年期:11301資料所屬:11212");
  EXPECT_EQ(status.slotText(1).toStdString(), "申報年期:11301資料所屬:11212");
}

TEST(FileDialog, PipeFiltersBecomeQtFilters) {
  EXPECT_EQ(FileDialog::qtFilter(QStringLiteral("Text File (*.txt)|*.TXT|Any File (*.*)|*.*"))
                .toStdString(),
            "Text File (*.TXT *.txt);;Any File (*.*)");
}

}  // namespace
}  // namespace athup::gui
