// The whole start-up of the desktop program with its real modal windows and boxes, driven by a
// timer that plays the user: it notes every window in the order it appears and answers it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "app/environment.h"
#include "app/period_input.h"
#include "gui/dialogs/message_box.h"
#include "gui/startup/desktop_program.h"
#include "gui/startup/period_window.h"
#include "gui_fixture.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/engine/database.h"
#include "support/temp_dir.h"

namespace athup::gui {
namespace {

using athup::testing::TempDir;

class StartupSequenceTest : public ::testing::Test {
 protected:
  StartupSequenceTest() {
    // What the filing program leaves in the database root: its code tables.
    const auto codeFolder = m_dir / "home" / "Documents" / "fiscus" / "orb" / "DB" / "CODE";
    std::filesystem::create_directories(codeFolder);
    store::Database code;
    code.open("ORBCODE", codeFolder);
    for (const auto table : store::codeFolderTables()) store::createFilingProgramTable(code, table);
    std::filesystem::create_directories(m_dir / "temp");
    std::filesystem::create_directories(m_dir / "program");
    MessageBox::setAutoAnswer(false);  // real boxes: the driver answers them
  }
  ~StartupSequenceTest() override { MessageBox::setAutoAnswer(true); }

  [[nodiscard]] app::Environment environment() const {
    app::Environment environment;
    environment.setHomeFolder(m_dir / "home");
    environment.setTempFolder(m_dir / "temp");
    environment.setVariable("ATHUP_SETTINGS", (m_dir / "settings.ini").string());
    return environment;
  }

  [[nodiscard]] std::filesystem::path periodDbFolder(const std::string& period) const {
    return m_dir / "home" / "Documents" / "fiscus" / "orb" / "DB" / period;
  }

  // Runs the program to its end while the driver answers each window; gives the exit code.
  int runDriven(bool cancelPeriod) {
    DesktopProgram program(environment(), {testing::resourcesDir(), m_dir / "program"});
    QTimer driver;
    driver.setInterval(10);
    QElapsedTimer clock;
    clock.start();
    WindowLog log(m_order);
    QApplication::instance()->installEventFilter(&log);
    QObject::connect(&driver, &QTimer::timeout, [&] {
      if (clock.elapsed() > 20000) {
        // Something hangs: note it and close everything so the test ends.
        m_order.push_back("timeout");
        for (QWidget* window : QApplication::topLevelWidgets()) window->close();
        return;
      }
      // Act outside the timer's slot, as an answer may open a box with its own modal loop; tied
      // to the driver, so nothing stays queued once the run is over.
      QTimer::singleShot(0, &driver, [this, cancelPeriod] { answerTopWindow(cancelPeriod); });
    });
    driver.start();
    const int code = program.run();
    driver.stop();
    QApplication::instance()->removeEventFilter(&log);
    return code;
  }

  static std::string describe(QWidget* window) {
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
      const QWidget* over = box->parentWidget();
      return "box over " + (over ? over->objectName().toStdString() : std::string("screen")) +
             " [" + box->windowTitle().toStdString() + "] " + box->text().toStdString();
    }
    return window->objectName().toStdString();
  }

  // Notes each dialog and main window the first time it is shown, in the order of showing.
  class WindowLog : public QObject {
   public:
    explicit WindowLog(std::vector<std::string>& order) : m_order(order) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
      auto* window = qobject_cast<QWidget*>(watched);
      if (event->type() == QEvent::Show && window && window->isWindow() &&
          (qobject_cast<QDialog*>(window) || qobject_cast<QMainWindow*>(window)) &&
          !window->property("athupNoted").toBool()) {
        window->setProperty("athupNoted", true);
        m_order.push_back(describe(window));
      }
      return false;
    }

   private:
    std::vector<std::string>& m_order;
  };

  bool noted(const std::string& name) const {
    return std::find(m_order.begin(), m_order.end(), name) != m_order.end();
  }

  void answerTopWindow(bool cancelPeriod) {
    QWidget* top = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(top)) {
      // "否" to the version question, "確定" to everything else.
      QAbstractButton* button = box->button(QMessageBox::No);
      if (!button) button = box->button(QMessageBox::Ok);
      if (button) button->click();
    } else if (top && top->objectName() == QStringLiteral("frmTextView")) {
      top->close();
    } else if (top && top->objectName() == QStringLiteral("frmORBLogo")) {
      if (noted("frmTextView")) QTest::keyClick(top, Qt::Key_Space);
    } else if (auto* period = qobject_cast<PeriodWindow*>(top)) {
      answerPeriodWindow(*period, cancelPeriod);
    } else if (!top) {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName() == QStringLiteral("ORBMainForm")) {
          window->close();
        }
      }
    }
  }

  // First a month that does not exist, confirmed with Enter; then the default with "確認" (or
  // "取消").
  void answerPeriodWindow(PeriodWindow& period, bool cancelPeriod) {
    if (cancelPeriod) {
      period.cancelButton()->click();
      return;
    }
    const int attempts = period.property("athupAttempts").toInt();
    period.setProperty("athupAttempts", attempts + 1);
    if (attempts == 0) {
      m_defaultPeriod = period.value();
      period.field()->selectAll();
      QTest::keyClicks(period.field(), QStringLiteral("10213"));
      QTest::keyClick(period.field(), Qt::Key_Return);
    } else {
      period.field()->selectAll();
      QTest::keyClicks(period.field(), QString::fromStdString(m_defaultPeriod));
      period.confirmButton()->click();
    }
  }

  TempDir m_dir;
  std::vector<std::string> m_order;
  std::string m_defaultPeriod;
};

TEST_F(StartupSequenceTest, WindowsComeInTheirOrderAndTheMainWindowLast) {
  EXPECT_EQ(runDriven(false), 0);
  const std::vector<std::string> expected = {
      "frmORBLogo",
      "frmTextView",
      "WS003",
      "box over WS003 [營業稅申報附件上傳系統] 日期輸入錯誤，請重新輸入！",
      "box over screen [版本檢查] 是否檢查新版本？",
      "box over screen [版本檢查] 建議營業人在上傳前再檢查一次。",
      "ORBMainForm",
  };
  EXPECT_EQ(m_order, expected);
  EXPECT_EQ(m_defaultPeriod, app::defaultPeriod(SystemClock()));
  EXPECT_TRUE(std::filesystem::is_directory(periodDbFolder(m_defaultPeriod)));
}

TEST_F(StartupSequenceTest, CancellingThePeriodEndsBeforeTheQuestionAndTheMainWindow) {
  EXPECT_EQ(runDriven(true), 0);
  EXPECT_EQ(m_order, (std::vector<std::string>{"frmORBLogo", "frmTextView", "WS003"}));
  EXPECT_FALSE(std::filesystem::exists(periodDbFolder(app::defaultPeriod(SystemClock()))));
}

}  // namespace
}  // namespace athup::gui
