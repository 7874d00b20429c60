#include "gui/upload/media_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/ini_settings_store.h"
#include "common/clock.h"
#include "common/file_helpers.h"
#include "gui/shell/main_window.h"
#include "gui_fixture.h"
#include "security/codecs/file_checksum.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::gui {
namespace {

namespace fs = std::filesystem;

// Three complete taxpayers (one of them unknown to the master) and one whose zero-rate row has
// no document, over real tables.
class MediaWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(m_dir / "DB/CODE");
    fs::create_directories(m_dir / "DB/11302");
    fs::create_directories(m_dir / "media");
    m_orbCode.open("ORBCODE", m_dir / "DB/CODE");
    m_orbWin.open("ORBWIN", m_dir / "DB/11302");
    for (const auto table : store::codeFolderTables())
      store::createFilingProgramTable(m_orbCode, table);
    SystemClock clock;
    ASSERT_TRUE(store::preparePeriodTables(m_orbWin, {m_dir / "run.log", clock}).empty());
    store::migrateOwnTables(m_orbWin);
    m_orbCode.execute(
        "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30) VALUES ('12345678', '測試商行')");
    m_orbCode.execute("INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30) VALUES ('22222222', '乙公司')");
    for (const char* ban : {"87654321", "12345678", "22222222", "11111111"}) {
      m_orbWin.execute(
          "INSERT INTO ORBDB_ATH_T08 (BAN, FILE_SEQ, BL_YR, BL_MM) VALUES (:B, 'T08000001', "
          "'113', '02')",
          {{"B", ban}});
      if (std::string(ban) == "11111111") continue;
      const fs::path doc = m_dir.write(std::string("docs/") + ban + ".pdf", ban);
      m_orbWin.execute(
          "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, SUB_SEQ, FILE_NM, FILE_SUB_NM, "
          "FILE_PATH_NM, FILE_SIZE, FILE_TP, FILE_CRC) VALUES (:B, 'T08000001', '0', "
          "'T08000001_0', 'pdf', :P, 8, 'T08', :C)",
          {{"B", ban},
           {"P", common::utf8FromPath(doc)},
           {"C", security::FileChecksumCalculator().checksumText(doc)}});
    }
  }

  static QStringList texts(const QListWidget* list) {
    QStringList items;
    for (int row = 0; row < list->count(); ++row) items << list->item(row)->text();
    return items;
  }
  static void select(QListWidget* list, std::initializer_list<int> rows) {
    list->clearSelection();
    for (int row : rows) list->item(row)->setSelected(true);
  }

  athup::testing::TempDir m_dir;
  store::Database m_orbWin;
  store::Database m_orbCode;
  athup::testing::ScriptedInteraction m_ui;
  IndexWindowContext m_context{m_ui,      m_orbWin,
                               m_orbCode, "11302",
                               {},        common::utf8FromPath(m_dir / "help") + "/",
                               {},        [](QDialog& dialog) { return dialog.result(); },
                               {}};
};

TEST_F(MediaWindowTest, MovesEntriesWithTheButtonsAndDoubleClicks) {
  MediaWindow window(m_context);
  QListWidget* source = window.sourceList();
  QListWidget* picked = window.pickedList();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("媒體檔申報"));
  EXPECT_EQ(texts(source), (QStringList{"12345678(測試商行)", "22222222(乙公司)", "87654321()"}));
  EXPECT_EQ(window.button("includeButton")->toolTip(), QStringLiteral("選擇一筆"));
  EXPECT_FALSE(window.button("excludeButton")->isEnabled());
  EXPECT_FALSE(window.button("createButton")->isEnabled());

  select(source, {1});
  window.button("includeButton")->click();
  EXPECT_EQ(texts(picked), QStringList{"22222222(乙公司)"});
  EXPECT_EQ(source->currentRow(), 1);  // the next entry, ready for another ">"
  EXPECT_TRUE(source->item(1)->isSelected());
  EXPECT_TRUE(window.button("createButton")->isEnabled());

  emit source->itemDoubleClicked(source->item(0));
  EXPECT_EQ(texts(picked), (QStringList{"22222222(乙公司)", "12345678(測試商行)"}));

  select(picked, {0});
  window.button("excludeButton")->click();
  EXPECT_EQ(texts(source), (QStringList{"22222222(乙公司)", "87654321()"}));
  EXPECT_EQ(picked->currentRow(), 0);

  window.button("includeAllButton")->click();
  EXPECT_EQ(source->count(), 0);
  EXPECT_FALSE(window.button("includeButton")->isEnabled());
  EXPECT_FALSE(window.button("includeAllButton")->isEnabled());
  window.button("excludeAllButton")->click();
  EXPECT_EQ(picked->count(), 0);
  EXPECT_FALSE(window.button("createButton")->isEnabled());
  EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(MediaWindowTest, BrowsesAndWritesThePickedTaxpayers) {
  MediaWindow window(m_context);
  m_ui.choices = {common::utf8FromPath(m_dir / "media")};
  window.button("browseButton")->click();
  EXPECT_EQ(m_ui.shown.back().caption, "選擇媒體申報檔複製目錄");
  EXPECT_EQ(window.destinationEdit()->text().toStdString(), common::utf8FromPath(m_dir / "media"));

  select(window.sourceList(), {0, 2});
  window.button("includeButton")->click();
  window.button("createButton")->click();
  const std::string dest = common::withTrailingSeparator(common::utf8FromPath(m_dir / "media"));
  EXPECT_EQ(m_ui.messages(), std::vector<std::string>{"產檔完成!\r目的資料夾：" + dest +
                                                      "87654321" + common::kPathSeparator});
  EXPECT_TRUE(fs::exists(m_dir / "media/12345678/T08000001_0.pdf"));
  EXPECT_TRUE(fs::exists(m_dir / "media/87654321/87654321_08.xml"));
  EXPECT_FALSE(fs::exists(m_dir / "media/22222222"));
  // The lists stay as they were, so the same taxpayers can be written again.
  EXPECT_EQ(window.pickedList()->count(), 2);

  window.button("helpButton")->click();
  EXPECT_EQ(m_ui.messages().back(), "無法載入附件上傳資料檔填寫說明檔:\"HELP_ORBATT_STEP22.txt\"");
}

TEST_F(MediaWindowTest, WarnsOnEveryActivationWhileAnIndexIsIncomplete) {
  MediaWindow window(m_context);
  for (int activation = 1; activation <= 2; ++activation) {
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activate);
    QApplication::processEvents();
    EXPECT_EQ(m_ui.messages().size(), static_cast<std::size_t>(activation));
  }
  EXPECT_EQ(m_ui.messages().back(),
            "若[尚未選定單位]未出現欲產生媒體檔的統一編號，請檢查附件資料登錄是否完整！");
}

// A message box takes the focus from the window while it is up, as a real one does.
class FocusTakingInteraction : public athup::testing::ScriptedInteraction {
 public:
  QWidget* window = nullptr;
  void showMessage(MessageKind kind, const std::string& text, const std::string& caption) override {
    ScriptedInteraction::showMessage(kind, text, caption);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(window, &deactivate);
  }
};

TEST_F(MediaWindowTest, ClosingTheWarningIsNotANewActivation) {
  FocusTakingInteraction ui;
  IndexWindowContext boxed{ui, m_orbWin, m_orbCode, "11302", {}, {}, {}, {}, {}};
  MediaWindow window(boxed);
  ui.window = &window;
  const auto send = [&](QEvent::Type type) {
    QEvent event(type);
    QApplication::sendEvent(&window, &event);
  };
  send(QEvent::WindowActivate);  // warns; the box takes the focus
  send(QEvent::WindowActivate);  // the box closed: no second warning
  EXPECT_EQ(ui.messages().size(), 1U);
  send(QEvent::WindowDeactivate);  // the user went elsewhere and came back
  send(QEvent::WindowActivate);
  EXPECT_EQ(ui.messages().size(), 2U);
}

TEST_F(MediaWindowTest, TheMenuEntryOpensItWithTheMainMenuOff) {
  app::IniSettingsStore settings(m_dir / "settings.ini");
  ShellServices services;
  services.location = testing::deliveredProgram();
  bool menuOffMeanwhile = false;
  MainWindow* form = nullptr;
  services.openMedia = [&](QWidget* parent) {
    menuOffMeanwhile = !form->topMenus()[1]->menuAction()->isEnabled();
    MediaWindow::open(m_context, parent);
  };
  MainWindow main(m_ui, settings, std::move(services));
  form = &main;
  main.action("actMedia")->trigger();
  EXPECT_TRUE(menuOffMeanwhile);
  EXPECT_TRUE(main.topMenus()[1]->menuAction()->isEnabled());
  EXPECT_TRUE(m_ui.messages().empty());
}

}  // namespace
}  // namespace athup::gui
