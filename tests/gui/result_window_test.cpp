#include "gui/upload/result_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>

#include "app/ini_settings_store.h"
#include "common/text_helpers.h"
#include "gui/shell/main_window.h"
#include "gui_fixture.h"
#include "security/codecs/base64.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/queries/status_queries.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "upload/endpoints.h"

namespace athup::gui {
namespace {

namespace fs = std::filesystem;
using athup::testing::ScriptedInteraction;
using athup::testing::TempDir;

constexpr const char* kBan = "12345678";

class NoCertificate final : public upload::CertificatePort {
 public:
  void chooseCertType() override {}
  const std::string& certType() const override { return m_type; }
  const std::string& certPassword() const override { return m_type; }
  std::optional<std::string> makeSeal(std::string_view text, const std::string&) override {
    return security::base64Line(text);
  }
  std::optional<std::string> makeUploadSeal(std::string_view) override { return std::nullopt; }

 private:
  std::string m_type = "1";
};

std::string statusLine(const std::string& code, const std::string& name,
                       const std::string& compressSize) {
  return "ORB001" + code + "0001" + "00" + common::padRight(name, 21, " ") + "pdf" +
         common::padLeft("10", 20, "0") + common::padLeft(compressSize, 20, "0") +
         "20240305143015" + "20240305143120" + "XXXXXXXX" +
         common::padRight("主機作業處理完成(上傳成功)", 50, " ");
}

class ResultWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(m_dir / "CODE");
    fs::create_directories(m_dir / "11304");
    fs::create_directories(m_dir / "prog");
    m_orbCode.open("ORBCODE", m_dir / "CODE");
    m_orbWin.open("ORBWIN", m_dir / "11304");
    for (const auto table : store::codeFolderTables())
      store::createFilingProgramTable(m_orbCode, table);
    store::createFilingProgramTable(m_orbWin, store::kLastUploadTable);
    SystemClock clock;
    ASSERT_TRUE(
        store::preparePeriodTables(m_orbWin, store::CatalogueLog{m_dir / "c.log", clock}).empty());
    store::migrateOwnTables(m_orbWin);
    m_orbCode.execute(
        "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9) VALUES (:B, '測試商行', "
        "'123456789')",
        {{"B", kBan}});
    m_orbCode.execute("INSERT INTO ORBDB1_ATH_CODE (CODE, CODE_NM) VALUES ('T08', '固定資產')");
    m_dir.write("help/HELP_ORBATT_STEP3.txt", "line one\r\nline two");
  }

  ResultWindowContext context() {
    return ResultWindowContext{m_ui,
                               m_orbWin,
                               m_orbCode,
                               m_certificate,
                               [this] {
                                 ++m_contextsBuilt;
                                 upload::FilingContext filing;
                                 filing.period = "11304";
                                 filing.applyYM = "11305";
                                 // Nobody listens there: the transport fails at once.
                                 filing.endpoints = upload::selectEndpoints("127.0.0.1:1");
                                 filing.programFolder = m_dir / "prog";
                                 filing.workFolder = m_dir / "prog" / "TMP";
                                 filing.reportFolder = m_dir / "report";
                                 return filing;
                               },
                               "11304",
                               (m_dir / "help").string() + "/"};
  }

  TempDir m_dir;
  store::Database m_orbWin;
  store::Database m_orbCode;
  ScriptedInteraction m_ui;
  NoCertificate m_certificate;
  int m_contextsBuilt = 0;
};

TEST_F(ResultWindowTest, CaptionLabelsButtonsAndHelp) {
  ResultWindow window(context());
  EXPECT_EQ(window.windowTitle().toStdString(), "(ORBATH201)附件上傳結果查詢");
  EXPECT_EQ(window.periodLabel()->text().toStdString(), "113年04月");
  EXPECT_EQ(window.banEdit()->maxLength(), 8);
  EXPECT_EQ(window.searchButton()->text().toStdString(), "查詢");
  EXPECT_FALSE(window.printButton()->isEnabled());
  EXPECT_FALSE(window.printButton()->toolTip().isEmpty());
  EXPECT_EQ(window.helpText()->toPlainText().toStdString(), "line one\nline two");
  EXPECT_TRUE(m_ui.messages().empty());

  window.show();
  EXPECT_FALSE(window.helpText()->isVisible());
  window.helpButton()->click();
  EXPECT_TRUE(window.helpText()->isVisible());
  EXPECT_FALSE(window.grid()->isVisible());
  window.helpButton()->click();
  EXPECT_TRUE(window.grid()->isVisible());

  fs::remove(m_dir / "help/HELP_ORBATT_STEP3.txt");
  ResultWindow missing(context());
  EXPECT_EQ(m_ui.messages().back(), "無法載入附件上傳資料檔填寫說明檔:\"HELP_ORBATT_STEP3.txt\"");
}

TEST_F(ResultWindowTest, TheTaxpayerIsLookedUpOnceTheBanIsWhole) {
  ResultWindow window(context());
  window.banEdit()->setText("1234567");
  EXPECT_TRUE(window.taxpayerLabel()->text().isEmpty());
  window.banEdit()->setText(kBan);
  EXPECT_EQ(window.taxpayerLabel()->text().toStdString(),
            "統一編號：12345678  營業人名稱：測試商行  稅籍編號：123456789");
  window.banEdit()->setText("1234567");
  EXPECT_TRUE(window.taxpayerLabel()->text().isEmpty());
  window.banEdit()->setText("99999999");
  EXPECT_TRUE(window.taxpayerLabel()->text().isEmpty());
  EXPECT_EQ(m_ui.messages(), std::vector<std::string>{"找不到營業人建檔資料"});
}

TEST_F(ResultWindowTest, TheGridComputesItsColumnsFromTheStoredLines) {
  ASSERT_TRUE(store::StatusQueries(m_orbWin)
                  .storeStatusLines(
                      kBan, {statusLine("08", "發票", "1234567"), statusLine("02", "A01", "x")})
                  .empty());
  ResultWindow window(context());
  window.loadGrid(kBan);
  QTableWidget* grid = window.grid();
  ASSERT_EQ(grid->rowCount(), 2);
  const char* headers[] = {"附件類別",         "附件名稱", "副檔名",
                           "附件大小(壓縮後)", "上傳時間", "上傳狀態"};
  for (int column = 0; column < 6; ++column)
    EXPECT_EQ(grid->horizontalHeaderItem(column)->text().toStdString(), headers[column]);
  // Ordered by the full text: "02" first. Its category has no name in the code table.
  EXPECT_EQ(grid->item(0, 0)->text().toStdString(), "");
  EXPECT_EQ(grid->item(0, 3)->text().toStdString(), "0");  // an unreadable size counts 0
  EXPECT_EQ(grid->item(1, 0)->text().toStdString(), "固定資產");
  EXPECT_EQ(grid->item(1, 1)->text().trimmed().toStdString(), "發票");
  EXPECT_EQ(grid->item(1, 2)->text().toStdString(), "pdf");
  EXPECT_EQ(grid->item(1, 3)->text().toStdString(), "1,234,567");
  EXPECT_EQ(grid->item(1, 4)->text().toStdString(), "2024/03/05 14:30:15");
  EXPECT_EQ(grid->item(1, 5)->text().trimmed().toStdString(), "主機作業處理完成(上傳成功)");
  EXPECT_FALSE(grid->editTriggers() & QAbstractItemView::DoubleClicked);
}

TEST_F(ResultWindowTest, SearchWithoutAnswerEmptiesTheTaxpayersLines) {
  ASSERT_TRUE(store::StatusQueries(m_orbWin)
                  .storeStatusLines(kBan, {statusLine("02", "A01", "1")})
                  .empty());
  ResultWindow window(context());
  window.search();
  EXPECT_EQ(m_ui.messages(), std::vector<std::string>{"請輸入統一編號"});
  EXPECT_EQ(m_contextsBuilt, 1);

  m_ui.shown.clear();
  window.banEdit()->setText(kBan);
  window.loadGrid(kBan);
  ASSERT_EQ(window.grid()->rowCount(), 1);
  window.search();
  EXPECT_FALSE(m_ui.messages().empty());  // the transport's failure
  EXPECT_EQ(window.grid()->rowCount(), 0);
  EXPECT_TRUE(store::StatusQueries(m_orbWin).statusLines(kBan).empty());
  EXPECT_EQ(window.queryHeader(), upload::ResultHeader{});
  EXPECT_TRUE(window.isEnabled());
  EXPECT_EQ(m_contextsBuilt, 2);  // built anew for each search
}

TEST_F(ResultWindowTest, TheMainWindowOpensAnyNumberAsChildWindows) {
  app::IniSettingsStore settings(m_dir / "settings.ini");
  ShellServices services;
  services.location = testing::deliveredProgram();
  services.makeResultWindow = [this]() -> QWidget* { return new ResultWindow(context()); };
  MainWindow form(m_ui, settings, std::move(services));
  form.show();
  form.action("actResult")->trigger();
  form.action("actResult")->trigger();
  const auto subs = form.mdiArea()->subWindowList();
  ASSERT_EQ(subs.size(), 2);
  EXPECT_NE(qobject_cast<ResultWindow*>(subs[0]->widget()), nullptr);
  EXPECT_FALSE(form.topMenus()[0]->menuAction()->isEnabled());
  for (QMdiSubWindow* sub : subs) sub->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(form.mdiArea()->subWindowList().isEmpty());
  EXPECT_TRUE(form.topMenus()[0]->menuAction()->isEnabled());
  EXPECT_TRUE(m_ui.messages().empty());
  form.action("actResult")->trigger();  // left open when the main window goes
}

}  // namespace
}  // namespace athup::gui
