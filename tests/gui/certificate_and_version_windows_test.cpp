#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "gui/dialogs/account_password_dialog.h"
#include "gui/dialogs/cert_type_dialog.h"
#include "gui/dialogs/message_box.h"
#include "gui/dialogs/pin_dialog.h"
#include "gui/startup/version_check_window.h"

namespace athup::gui {
namespace {

TEST(CertTypeDialog, TheThirdEntryIsRemovedOnceAndTheResultIsIndexPlusOne) {
  CertTypeDialog dialog;
  EXPECT_EQ(dialog.itemCount(), 3);
  dialog.removeThirdItem();
  EXPECT_EQ(dialog.itemCount(), 2);
  dialog.removeThirdItem();  // a dialog reused later still has two items
  EXPECT_EQ(dialog.itemCount(), 2);
  QTimer::singleShot(0, &dialog, [&dialog] {
    EXPECT_EQ(dialog.chosenIndex(), 0);  // the first item is selected on show
    dialog.choose(1);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnConfirm")), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), 2);
}

TEST(AccountPasswordDialog, ConfirmNeedsFourCharactersAndOnlyLettersAndDigits) {
  AccountPasswordDialog dialog(QStringLiteral("12345678"));
  dialog.show();
  QLineEdit* field = dialog.passwordField();
  EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("edtBAN"))->text(),
            QStringLiteral("12345678"));
  QTest::keyClicks(field, QStringLiteral("abc"));
  EXPECT_FALSE(dialog.confirmButton()->isEnabled());
  QTest::keyClicks(field, QStringLiteral("&"));
  EXPECT_TRUE(dialog.confirmButton()->isEnabled());
  MessageBox::setNextAnswer(Answer::Ok);
  QTest::mouseClick(dialog.confirmButton(), Qt::LeftButton);
  EXPECT_EQ(MessageBox::lastText(), QStringLiteral("密碼應為長度4~10位之英數字，請重新輸入！"));
  EXPECT_TRUE(field->text().isEmpty());
  EXPECT_TRUE(dialog.isVisible());
  QTest::keyClicks(field, QStringLiteral("Ab34567890X"));  // the eleventh cannot be typed
  EXPECT_EQ(field->text(), QStringLiteral("Ab34567890"));
  QTest::mouseClick(dialog.confirmButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.password(), QStringLiteral("Ab34567890"));
}

TEST(PinDialog, HidesThePin) {
  PinDialog dialog;
  EXPECT_EQ(dialog.pinField()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lbPIN"))->text(),
            QStringLiteral("請輸入 PIN 碼："));
  EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

TEST(VersionCheckWindow, ShowsTheOutcomeAndTheLinkOnlyWhenAnUpdateIsNeeded) {
  app::VersionCheckOutcome upToDate =
      app::compareVersions("105", "1080315", {"105", "1080315"}, "https://info/x");
  VersionCheckWindow current(upToDate);
  EXPECT_EQ(current.windowTitle(), QStringLiteral("(ORBWS005)版本與訊息檢查"));
  EXPECT_EQ(current.label("Label2")->text(),
            QStringLiteral("線上最新版本：1.05，版本日期：1080315"));
  EXPECT_EQ(current.label("Label3")->text(), QStringLiteral("目前已使用最新版本無需更新。"));
  EXPECT_TRUE(current.label("Label7")->isHidden());

  VersionCheckWindow outdated(
      app::compareVersions("198", "1080315", {"201", "1080315"}, "https://info/x"));
  outdated.show();
  EXPECT_EQ(outdated.label("Label3")->text(),
            QStringLiteral("線上版本已更新，請重新下載完整申報程式。"));
  EXPECT_TRUE(outdated.label("Label7")->isVisible());
  EXPECT_NE(outdated.label("Label7")->text().indexOf(QStringLiteral("https://info/x")), -1);
  EXPECT_EQ(outdated.label("Label8")->text(), QStringLiteral("(每月20日~28日不提供版本檢查服務)"));
}

}  // namespace
}  // namespace athup::gui
