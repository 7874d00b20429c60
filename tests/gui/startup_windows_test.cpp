#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>

#include "app/version_record.h"
#include "gui/startup/logo_texts.h"
#include "gui/startup/period_window.h"
#include "gui/startup/splash_window.h"
#include "gui_fixture.h"
#include "security/cipher/crypt_file.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::gui {
namespace {

using athup::testing::ScriptedInteraction;
using athup::testing::TempDir;

class FixedClock final : public Clock {
 public:
  explicit FixedClock(std::chrono::sys_days day) : m_day(day) {}
  std::chrono::system_clock::time_point now() const override {
    return m_day + std::chrono::hours(12);
  }

 private:
  std::chrono::sys_days m_day;
};

using std::chrono::day;
using std::chrono::month;
using std::chrono::year;

TEST(Splash, LabelsOfAKnownVersionRecordAndTheReadmeInForce) {
  TempDir dir;
  ScriptedInteraction ui;
  // A program folder as delivered, with a version record 1.05 of 15 March 2019 (ROC 108).
  for (const char* name : {"readme.txt", "readme_20190101.txt", "athup.png"}) {
    std::filesystem::copy_file(testing::resourcesDir() / name, dir / name);
  }
  const auto plain =
      dir.write("version.ini", "[Version]\r\nnow=105\r\n[VersionDate]\r\ndate=1080315\r\n");
  ASSERT_NO_THROW(security::cryptFileByMode(plain, dir / "version", security::CryptMode::Encrypt));
  const app::ProgramLocation program{dir.path(), dir.path()};
  const app::VersionInfo version = app::loadVersionInfo(dir / "version", ui, dir.path());

  const FixedClock before2019(year(2018) / month(12) / day(31));
  const FixedClock from2019(year(2019) / month(1) / day(1));
  SplashWindow oldSplash(logoTexts(version, program, before2019, true));
  SplashWindow newSplash(logoTexts(version, program, from2019, false));

  EXPECT_EQ(newSplash.label("labVersion")->text().toStdString(), "Version 1.05");
  EXPECT_EQ(newSplash.label("labVerDate")->text().toStdString(), "版本日期：108年03月15日");
  EXPECT_EQ(oldSplash.label("lbContinue")->text().toStdString(),
            "歡迎使用營業稅申報附件上傳系統，請按任意鍵繼續…");
  EXPECT_TRUE(newSplash.label("lbContinue")->text().isEmpty());
  EXPECT_EQ(newSplash.label("labResolution")->text().toStdString(),
            "最佳執行解析度應設為800*600 小字型");
  // Each readme's own last lines: only the 2019 notice speaks of the receipt.
  EXPECT_TRUE(newSplash.noticeText().contains(QStringLiteral("列印回執聯")));
  EXPECT_FALSE(oldSplash.noticeText().contains(QStringLiteral("列印回執聯")));
  EXPECT_TRUE(
      oldSplash.noticeText().startsWith(QStringLiteral("1.上傳前請先完成營業稅申報上傳。")));
  // Shown, the notice panel holds one padded column per line.
  EXPECT_EQ(newSplash.noticeLabel()->text().count(QLatin1Char('\n')), 4);
  EXPECT_TRUE(ui.messages().empty());
}

TEST(Splash, WithoutARecordItShowsThePlaceholders) {
  TempDir dir;
  ScriptedInteraction ui;
  const app::ProgramLocation program{dir.path(), dir.path()};
  const app::VersionInfo version = app::loadVersionInfo(dir / "version", ui, dir.path());
  SplashWindow splash(
      logoTexts(version, program, FixedClock(year(2024) / month(1) / day(5)), true));
  EXPECT_EQ(splash.label("labVersion")->text().toStdString(), "Version 0.00");
  EXPECT_EQ(splash.label("labVerDate")->text().toStdString(), "版本日期：xxx年xx月xx日");
  // No readme either: the panel shrinks to a line and its text goes.
  splash.show();
  EXPECT_EQ(splash.noticeShape()->width(), 1);
  EXPECT_FALSE(splash.noticeLabel()->isVisible());
  splash.close();
}

SplashWindow::Texts someTexts() {
  SplashWindow::Texts texts;
  texts.title = QStringLiteral("t");
  texts.notice = QStringLiteral("notice");
  return texts;
}

TEST(Splash, SlidesInThenClosesOnTheFiftyFirstTick) {
  SplashWindow splash(someTexts());
  splash.show();
  EXPECT_EQ(splash.size(), QSize(720, 341));
  EXPECT_EQ(splash.noticeShape()->x(), 400);
  EXPECT_EQ(splash.noticeLabel()->geometry().size(), QSize(290, 100));
  const int labelStart = splash.noticeLabel()->x();
  EXPECT_EQ(labelStart, 425);
  for (int i = 0; i < 10; ++i) splash.tick();
  EXPECT_EQ(splash.noticeShape()->x(), 380);  // four steps of 5 pixels, then it stays
  EXPECT_EQ(splash.noticeLabel()->x(), 405);
  for (int i = 10; i < 50; ++i) splash.tick();
  EXPECT_TRUE(splash.isVisible());
  splash.tick();
  EXPECT_FALSE(splash.isVisible());
  EXPECT_FALSE(splash.timerRunning());
  EXPECT_EQ(splash.tickCount(), 51);
}

TEST(Splash, KeyOrClickClosesAndTheNoticeRunsOnceOnActivation) {
  {
    SplashWindow splash(someTexts());
    int notices = 0;
    splash.setOnFirstActivation([&] { ++notices; });
    splash.show();
    splash.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&splash));
    EXPECT_TRUE(QTest::qWaitFor([&] { return notices == 1; }, 1000));
    splash.hide();
    splash.show();
    splash.activateWindow();
    QTest::qWait(50);
    EXPECT_EQ(notices, 1);
    QTest::keyClick(&splash, Qt::Key_Space);
    EXPECT_FALSE(splash.isVisible());
  }
  SplashWindow splash(someTexts());
  splash.show();
  QTest::mouseClick(splash.findChild<QLabel*>(QStringLiteral("imgLogo")), Qt::LeftButton);
  EXPECT_FALSE(splash.isVisible());
}

class PeriodWindowTest : public ::testing::Test {
 protected:
  ScriptedInteraction m_ui;
  std::vector<std::string> m_prepared;
};

TEST_F(PeriodWindowTest, ShowsTheDefaultAndTheTexts) {
  PeriodWindow window(m_ui, "11212", [](const app::PeriodField&) { return true; });
  EXPECT_EQ(window.windowTitle().toStdString(), "(ORBWS003)申報年期選擇");
  EXPECT_EQ(window.field()->displayText().toStdString(), "112/12");
  EXPECT_EQ(window.value(), "11212");
  EXPECT_EQ(window.confirmButton()->text().toStdString(), "確認");
  EXPECT_EQ(window.cancelButton()->text().toStdString(), "取消");
  EXPECT_TRUE(window.confirmButton()->isDefault());
}

TEST_F(PeriodWindowTest, BadEntriesShowTheirTextAndKeepTheWindowOpen) {
  const struct {
    const char* typed;
    const char* message;
  } cases[] = {{"", "所屬年月不可為空白，請重新輸入！"},
               {"10213", "日期輸入錯誤，請重新輸入！"},
               {"10200", "日期輸入錯誤，請重新輸入！"},
               {"102", "日期輸入錯誤，請重新輸入！"}};
  // Confirmed with the button or with Enter in the field: either way one box per attempt.
  for (bool withEnter : {false, true}) {
    for (const auto& c : cases) {
      PeriodWindow window(m_ui, "", [this](const app::PeriodField& period) {
        m_prepared.push_back(period.dataYM());
        return true;
      });
      window.show();
      QTest::keyClicks(window.field(), QString::fromLatin1(c.typed));
      const std::size_t before = m_ui.messages().size();
      if (withEnter) {
        QTest::keyClick(window.field(), Qt::Key_Return);
      } else {
        window.confirmButton()->click();
      }
      EXPECT_TRUE(window.isVisible()) << c.typed;
      ASSERT_EQ(m_ui.messages().size(), before + 1) << c.typed << (withEnter ? " Enter" : "");
      EXPECT_EQ(m_ui.messages().back(), c.message) << c.typed;
      window.hide();
    }
  }
  EXPECT_TRUE(m_prepared.empty());
}

TEST_F(PeriodWindowTest, ConfirmPreparesThePeriodAndClosesWithItsResult) {
  for (bool prepared : {true, false}) {
    PeriodWindow window(m_ui, "11212", [this, prepared](const app::PeriodField& period) {
      m_prepared.push_back(period.dataYM());
      return prepared;
    });
    window.show();
    window.field()->selectAll();
    QTest::keyClicks(window.field(), QStringLiteral("10202"));
    QTest::keyClick(window.field(), Qt::Key_Return);  // Enter in the field confirms
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), prepared ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_FALSE(window.terminationRequested());
  }
  EXPECT_EQ(m_prepared, (std::vector<std::string>{"10202", "10202"}));
  EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(PeriodWindowTest, CancelAndEscAskTheProgramToEnd) {
  for (bool withEsc : {false, true}) {
    PeriodWindow window(m_ui, "11212", [this](const app::PeriodField& period) {
      m_prepared.push_back(period.dataYM());
      return true;
    });
    window.show();
    if (withEsc) {
      QTest::keyClick(window.field(), Qt::Key_Escape);
    } else {
      window.cancelButton()->click();
    }
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_TRUE(window.terminationRequested()) << (withEsc ? "Esc" : "取消");
  }
  EXPECT_TRUE(m_prepared.empty());
}

}  // namespace
}  // namespace athup::gui
