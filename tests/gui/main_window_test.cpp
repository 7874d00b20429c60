#include "gui/shell/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/ini_settings_store.h"
#include "app/settings_store.h"
#include "gui/shell/status_slots.h"
#include "gui/shell/workflow_window.h"
#include "gui/startup/period_window.h"
#include "gui_fixture.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::gui {
namespace {

using athup::testing::ScriptedInteraction;
using athup::testing::TempDir;

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() : m_settings(m_dir / "settings.ini") {}

  std::unique_ptr<MainWindow> makeForm() {
    ShellServices services;
    services.location = testing::deliveredProgram();
    services.title = "營業稅申報附件上傳系統";
    services.version = [] { return std::string("105"); };
    services.today = [this] { return m_today; };
    services.isOnline = [this] { return m_online; };
    services.makePeriodWindow = [this](QWidget* parent) -> std::unique_ptr<QDialog> {
      return std::make_unique<PeriodWindow>(
          m_ui, "11212", [](const app::PeriodField&) { return true; }, parent);
    };
    services.terminationRequested = [](QDialog& window) {
      return static_cast<PeriodWindow&>(window).terminationRequested();
    };
    services.dataModuleReady = [this] { return m_dataModuleReady; };
    services.openUpload = m_openUpload;
    services.runModal = [this](QDialog& dialog) {
      ++m_modalRuns;
      if (m_modalAction) m_modalAction(dialog);
      return dialog.result();
    };
    return std::make_unique<MainWindow>(m_ui, m_settings, std::move(services));
  }

  int subWindowCount(MainWindow& form) {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return static_cast<int>(form.mdiArea()->subWindowList().size());
  }

  TempDir m_dir;
  app::IniSettingsStore m_settings;
  ScriptedInteraction m_ui;
  std::string m_today = "1130315";
  bool m_online = false;
  bool m_dataModuleReady = true;
  int m_modalRuns = 0;
  std::function<void(QDialog&)> m_modalAction;
  std::function<void(QWidget*)> m_openUpload;
};

TEST_F(MainFormTest, MenuHasEveryCaptionAndShortcutInOrder) {
  auto form = makeForm();
  struct Item {
    const char* caption;
    const char* shortcut;
    bool visible;
  };
  struct Menu {
    const char* title;
    std::vector<Item> items;
  };
  const std::vector<Menu> expected = {
      {"附件資料登錄(&A)", {{"附件資料登錄", "Ctrl+A", true}, {"離開(&Q)", "F12", true}}},
      {"申報(&B)", {{"附件資料上傳", "", true}, {"媒體檔申報", "", true}}},
      {"查詢作業(&C)", {{"附件上傳結果查詢", "", true}}},
      {"其他(&D)",
       {{"申報紀錄匯出", "", false}, {"申報紀錄匯入", "", false}, {"所屬年月份變更", "", true}}},
      {"視窗排列(&W)", {{"水平並排(&H)", "", true}, {"重疊顯示(&V)", "", true}}},
      {"版本(&V)",
       {{"版本資訊(&V)", "", true}, {"版本檢查(&C)", "", true}, {"上傳流程(&W)", "Ctrl+W", true}}},
  };
  const QList<QMenu*> menus = form->topMenus();
  ASSERT_EQ(menus.size(), static_cast<qsizetype>(expected.size()));
  for (std::size_t m = 0; m < expected.size(); ++m) {
    QMenu* menu = menus[static_cast<qsizetype>(m)];
    EXPECT_EQ(menu->title().toStdString(), expected[m].title);
    std::vector<QAction*> items;
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) items.push_back(action);
    }
    ASSERT_EQ(items.size(), expected[m].items.size()) << expected[m].title;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Item& want = expected[m].items[i];
      EXPECT_EQ(items[i]->text().toStdString(), want.caption);
      EXPECT_EQ(items[i]->shortcut().toString().toStdString(), want.shortcut) << want.caption;
      EXPECT_EQ(items[i]->isVisible(), want.visible) << want.caption;
    }
  }
  // The one separator sits between the entry item and 離開.
  EXPECT_TRUE(menus[0]->actions()[1]->isSeparator());
}

TEST_F(MainFormTest, CaptionCarriesTitleAndVersion) {
  auto form = makeForm();
  EXPECT_EQ(form->windowTitle().toStdString(), "營業稅申報附件上傳系統 (Version 1.05)");
}

TEST_F(MainFormTest, StepsNotYetAvailableSayWhichFunctionEachTime) {
  auto form = makeForm();
  form->action("actEntry")->trigger();
  form->action("actUpload")->trigger();
  form->action("actMedia")->trigger();
  form->action("actResult")->trigger();
  form->action("actResult")->trigger();
  const std::vector<std::string> expected = {
      MainWindow::notYetAvailableText("附件資料登錄"),
      MainWindow::notYetAvailableText("附件資料上傳"),
      MainWindow::notYetAvailableText("媒體檔申報"),
      MainWindow::notYetAvailableText("附件上傳結果查詢"),
      MainWindow::notYetAvailableText("附件上傳結果查詢"),
  };
  EXPECT_EQ(m_ui.messages(), expected);
  EXPECT_EQ(expected[0], "本版本尚未提供「附件資料登錄」功能，將於後續版本開放。");
}

TEST_F(MainFormTest, StepWindowsRefuseToOpenWithoutTheDataModule) {
  m_dataModuleReady = false;
  auto form = makeForm();
  form->show();
  form->action("actEntry")->trigger();
  form->action("actUpload")->trigger();
  form->action("actMedia")->trigger();
  form->action("actResult")->trigger();
  form->openFlow();
  QTest::mouseClick(form->flowWindow()->area("entryArea"), Qt::LeftButton);
  const std::vector<std::string> expected = {
      MainWindow::dataModuleMissingText("附件資料登錄"),
      MainWindow::dataModuleMissingText("附件資料上傳"),
      MainWindow::dataModuleMissingText("媒體檔申報"),
      MainWindow::dataModuleMissingText("附件上傳結果查詢"),
      MainWindow::dataModuleMissingText("附件資料登錄"),
  };
  EXPECT_EQ(m_ui.messages(), expected);
  EXPECT_EQ(m_ui.shown.front().kind, static_cast<int>(MessageKind::Error));
  EXPECT_EQ(expected[0],
            "資料模組未能啟動，無法開啟「附件資料登錄」。請確認資料庫目錄中的資料表無誤後，"
            "重新啟動本程式。");
  // What does not need it still works: the version check says the machine is offline.
  form->action("actVersionCheck")->trigger();
  ASSERT_EQ(m_ui.messages().size(), expected.size() + 1);
  EXPECT_EQ(m_ui.messages().back(), "本機網路未連線，請確定連線後，再行檢查版本。");
}

TEST_F(MainFormTest, VersionCheckOfflineShowsTheOfflineMessage) {
  auto form = makeForm();
  m_online = false;
  form->action("actVersionCheck")->trigger();
  m_online = true;
  form->action("actVersionCheck")->trigger();
  ASSERT_EQ(m_ui.messages().size(), 2u);
  EXPECT_EQ(m_ui.messages()[0], "本機網路未連線，請確定連線後，再行檢查版本。");
  EXPECT_EQ(m_ui.messages()[1], MainWindow::notYetAvailableText("版本檢查"));
}

TEST_F(MainFormTest, ShowWizardOpensTheWorkflowWindowOnlyWhenOne) {
  for (const char* value : {"", "1", "0", "yes"}) {  // "" first: the value absent
    if (*value) m_settings.writeString(app::kOrbKey, "ShowWizard", value);
    auto form = makeForm();
    form->show();
    EXPECT_EQ(form->flowWindow() != nullptr, std::string(value) == "1") << "ShowWizard=" << value;
    form->hide();
  }
}

TEST_F(MainFormTest, AtMostOneWorkflowWindowAndANewOneAfterClosing) {
  auto form = makeForm();
  form->show();
  form->action("actFlow")->trigger();
  WorkflowWindow* first = form->flowWindow();
  ASSERT_NE(first, nullptr);
  form->mdiArea()->subWindowList().first()->showNormal();
  form->action("actFlow")->trigger();
  EXPECT_EQ(subWindowCount(*form), 1);
  EXPECT_EQ(form->flowWindow(), first);
  EXPECT_TRUE(form->mdiArea()->subWindowList().first()->isMaximized());

  form->mdiArea()->subWindowList().first()->close();
  EXPECT_EQ(form->flowWindow(), nullptr);
  EXPECT_EQ(subWindowCount(*form), 0);
  form->openFlow();
  EXPECT_EQ(subWindowCount(*form), 1);
  EXPECT_TRUE(m_ui.messages().empty()) << m_ui.messages().front();
}

TEST_F(MainFormTest, WorkflowAreasStartTheirStepsAndExitClosesTheProgram) {
  m_settings.writeString(app::kCrcKey, "T02", "ABC");
  auto form = makeForm();
  form->show();
  form->openFlow();
  WorkflowWindow* flow = form->flowWindow();
  ASSERT_NE(flow, nullptr);
  QTest::mouseClick(flow->area("entryArea"), Qt::LeftButton);
  QTest::mouseClick(flow->area("resultArea"), Qt::LeftButton);
  EXPECT_EQ(m_ui.messages(),
            (std::vector<std::string>{MainWindow::notYetAvailableText("附件資料登錄"),
                                      MainWindow::notYetAvailableText("附件上傳結果查詢")}));
  QTest::mouseClick(flow->area("closeArea"), Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(m_settings.keyExists(app::kCrcKey));
}

TEST_F(MainFormTest, ClosingRemovesTheCrcKeyAndToleratesItsAbsence) {
  m_settings.writeString(app::kCrcKey, "T02", "ABC");
  m_settings.writeString(app::kOrbKey, "DBPath", "/data/");
  {
    auto form = makeForm();
    form->show();
    EXPECT_TRUE(form->close());
  }
  EXPECT_FALSE(m_settings.keyExists(app::kCrcKey));
  EXPECT_EQ(m_settings.readString(app::kOrbKey, "DBPath"), "/data/");
  auto again = makeForm();
  again->show();
  EXPECT_TRUE(again->close());
  EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(MainFormTest, MainMenu1SwitchTogglesEveryTopLevelEntry) {
  auto form = makeForm();
  form->enableMainMenu(false);
  for (QMenu* menu : form->topMenus()) EXPECT_FALSE(menu->menuAction()->isEnabled());
  form->enableMainMenu(true);
  for (QMenu* menu : form->topMenus()) EXPECT_TRUE(menu->menuAction()->isEnabled());
}

TEST_F(MainFormTest, PeriodChangeCancelEndsTheProgramConfirmDoesNot) {
  auto form = makeForm();
  form->show();
  m_modalAction = [](QDialog& dialog) {
    static_cast<PeriodWindow&>(dialog).confirmButton()->click();
  };
  form->action("actPeriod")->trigger();
  EXPECT_TRUE(form->isVisible());
  m_modalAction = [](QDialog& dialog) {
    static_cast<PeriodWindow&>(dialog).cancelButton()->click();
  };
  form->action("actPeriod")->trigger();
  EXPECT_EQ(m_modalRuns, 2);
  EXPECT_FALSE(form->isVisible());
  // Esc in the window opened from the menu ends the program too.
  form->show();
  m_modalAction = [](QDialog& dialog) {
    QTest::keyClick(static_cast<PeriodWindow&>(dialog).field(), Qt::Key_Escape);
  };
  form->action("actPeriod")->trigger();
  EXPECT_EQ(m_modalRuns, 3);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, UploadOpensFromTheMenuAndTheWorkflowWithTheMenuOff) {
  std::vector<bool> menuEnabled;
  MainWindow* owner = nullptr;
  m_openUpload = [&](QWidget* parent) {
    EXPECT_EQ(parent, owner);
    menuEnabled.push_back(owner->topMenus().front()->menuAction()->isEnabled());
  };
  auto form = makeForm();
  owner = form.get();
  form->show();
  form->action("actUpload")->trigger();
  form->openFlow();
  QTest::mouseClick(form->flowWindow()->area("uploadArea"), Qt::LeftButton);
  EXPECT_EQ(menuEnabled, (std::vector<bool>{false, false}));
  EXPECT_TRUE(form->topMenus().front()->menuAction()->isEnabled());
  EXPECT_TRUE(m_ui.messages().empty());
}

}  // namespace
}  // namespace athup::gui
