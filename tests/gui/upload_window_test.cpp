#include "gui/upload/upload_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QToolButton>
#include <functional>

#include "common/clock.h"
#include "gui/shell/help_text_window.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::gui {
namespace {

namespace fs = std::filesystem;

// Records on which thread each text was shown; a question runs the test's hook first.
class ThreadCheckingInteraction : public athup::testing::ScriptedInteraction {
 public:
  void showMessage(MessageKind kind, const std::string& text, const std::string& caption) override {
    onGuiThread.push_back(QThread::currentThread() == qApp->thread());
    ScriptedInteraction::showMessage(kind, text, caption);
  }
  Answer ask(MessageKind kind, const std::string& text, const std::string& caption,
             Buttons buttons) override {
    onGuiThread.push_back(QThread::currentThread() == qApp->thread());
    if (onAsk) onAsk();
    return ScriptedInteraction::ask(kind, text, caption, buttons);
  }
  std::vector<bool> onGuiThread;
  std::function<void()> onAsk;
};

class FixedCertificate : public upload::CertificatePort {
 public:
  void chooseCertType() override {}
  const std::string& certType() const override { return m_type; }
  const std::string& certPassword() const override { return m_password; }
  std::optional<std::string> makeSeal(std::string_view, const std::string&) override {
    return "seal";
  }
  std::optional<std::string> makeUploadSeal(std::string_view) override { return "seal"; }

 private:
  std::string m_type = "1";
  std::string m_password;
};

// The upload window over real, empty tables: a taxpayer with nothing assigned passes the checks,
// so the run reaches its pre-upload request, which the test supplies.
class UploadWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(m_dir / "DB/CODE");
    fs::create_directories(m_dir / "DB/11304");
    m_orbCode.open("ORBCODE", m_dir / "DB/CODE");
    m_orbWin.open("ORBWIN", m_dir / "DB/11304");
    for (const auto table : store::codeFolderTables())
      store::createFilingProgramTable(m_orbCode, table);
    store::createFilingProgramTable(m_orbWin, store::kLastUploadTable);
    SystemClock clock;
    ASSERT_TRUE(store::preparePeriodTables(m_orbWin, {m_dir / "run.log", clock}).empty());
    store::migrateOwnTables(m_orbWin);
  }

  UploadWindowContext context() {
    return UploadWindowContext{
        m_ui,
        m_certificate,
        "11304",
        (m_dir / "help").string() + "/",
        [this](Interaction& ui, upload::CertificatePort& certificate) {
          ++m_runsMade;
          upload::FilingContext filing;
          filing.period = "11304";
          filing.workFolder = m_dir / "work";
          filing.backupFolder = m_dir / "backup";
          upload::UploadSteps steps;
          steps.requestSerial = [this, &ui](const std::string&) {
            requestThreadIsGui = QThread::currentThread() == qApp->thread();
            (void)ui.ask(MessageKind::Plain, "go on?", {}, Buttons::YesNo);
            return m_serial;
          };
          steps.writeIndexDocuments = [](const std::string&, const fs::path&, const std::string&,
                                         const std::string&) { return std::vector<fs::path>{}; };
          auto run = std::make_unique<upload::UploadRun>(ui, certificate, filing, m_orbWin,
                                                         m_orbCode, std::move(steps));
          run->setTaxpayerLookup([](const std::string&) { return true; });
          return run;
        },
        {}};
  }

  // Lets the window's events run until it has closed itself after its run.
  static void waitUntilClosed(UploadWindow& window) {
    QElapsedTimer timer;
    timer.start();
    while ((window.running() || window.isVisible()) && timer.elapsed() < 20000) {
      QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
  }

  athup::testing::TempDir m_dir;
  store::Database m_orbWin;
  store::Database m_orbCode;
  ThreadCheckingInteraction m_ui;
  FixedCertificate m_certificate;
  upload::UploadSerial m_serial;
  int m_runsMade = 0;
  bool requestThreadIsGui = true;
};

TEST_F(UploadWindowTest, ShowsThePeriodAndNeedsABan) {
  UploadWindow window(context());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("(ORBATH201)附件上傳"));
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("periodLabel"))->text(),
            QStringLiteral("113年04月"));
  EXPECT_EQ(window.banEdit()->maxLength(), 8);
  EXPECT_FALSE(window.stopButton()->isEnabled());
  EXPECT_FALSE(window.sendingLabel()->isVisible());

  window.show();
  window.banEdit()->setText(QStringLiteral("   "));
  window.uploadButton()->click();
  window.findChild<QToolButton*>(QStringLiteral("helpButton"))->click();  // no help folder
  EXPECT_EQ(m_ui.messages(),
            (std::vector<std::string>{"請輸入統一編號",
                                      HelpTextWindow::loadFailureText("HELP_ORBATT_STEP21.txt")}));
  EXPECT_EQ(m_runsMade, 0);
  EXPECT_TRUE(window.isVisible());  // the window stays for another try
  EXPECT_TRUE(window.panel()->isEnabled());
}

TEST_F(UploadWindowTest, RunsOffTheWindowsThreadAndAsksOnIt) {
  m_serial.serial = "err";  // the server refused the request
  UploadWindow window(context());
  window.show();
  m_ui.onAsk = [&] {
    // While the run waits for the answer, the window is busy but alive.
    EXPECT_FALSE(window.panel()->isEnabled());
    EXPECT_TRUE(window.stopButton()->isEnabled());
  };
  window.banEdit()->setText(QStringLiteral("12345678"));
  window.uploadButton()->click();
  EXPECT_TRUE(window.running());
  waitUntilClosed(window);

  EXPECT_FALSE(window.running());
  EXPECT_FALSE(window.isVisible());  // a run ends by closing the window
  EXPECT_FALSE(requestThreadIsGui);
  EXPECT_EQ(m_ui.onGuiThread, std::vector<bool>{true});
  EXPECT_EQ(window.outcome().done, -1);
  EXPECT_EQ(window.statusLabel()->text(), QStringLiteral("0/0"));
  EXPECT_TRUE(window.panel()->isEnabled());
}

TEST_F(UploadWindowTest, StopEndsTheRunBeforeItsFirstFile) {
  m_serial.serial = "20240501000001";
  UploadWindow window(context());
  window.show();
  m_ui.onAsk = [&] { window.stopButton()->click(); };
  window.banEdit()->setText(QStringLiteral("12345678"));
  window.uploadButton()->click();
  waitUntilClosed(window);

  EXPECT_EQ(window.outcome().ending, upload::UploadOutcome::Ending::Stopped);
  EXPECT_EQ(m_ui.messages(), std::vector<std::string>{upload::UploadRun::stoppedMessage(0)});
  EXPECT_EQ(m_ui.onGuiThread, (std::vector<bool>{true, true}));
}

TEST(UploadWindowTexts, SendingAnimationCyclesThroughFourTexts) {
  const char* const texts[] = {"(傳檔中.   )", "(傳檔中..  )", "(傳檔中... )", "(傳檔中....)",
                               "(傳檔中.   )"};
  for (int step = 0; step < 5; ++step) {
    EXPECT_EQ(UploadWindow::sendingText(step), QString::fromUtf8(texts[step])) << step;
  }
}

}  // namespace
}  // namespace athup::gui
