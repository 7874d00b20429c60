#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "app/ini_settings_store.h"
#include "common/clock.h"
#include "common/file_helpers.h"
#include "demo_data/filing_records.h"
#include "gui/index/assignment_window.h"
#include "gui/index/file_selection_dialog.h"
#include "gui/index/import_step_window.h"
#include "gui/index/taxpayer_entry_window.h"
#include "index/flows/upload_limit.h"
#include "security/codecs/file_checksum.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/queries/index_queries.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::gui {
namespace {

namespace fs = std::filesystem;

// The attachment windows over real tables, driven through their buttons with a scripted port.
class IndexWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    index::UploadLimit::resetForTests();
    fs::create_directories(m_dir / "DB/CODE");
    fs::create_directories(m_dir / "DB/11302");
    m_orbCode.open("ORBCODE", m_dir / "DB/CODE");
    m_orbWin.open("ORBWIN", m_dir / "DB/11302");
    for (const auto table : store::codeFolderTables())
      store::createFilingProgramTable(m_orbCode, table);
    store::createFilingProgramTable(m_orbWin, store::kLastUploadTable);
    SystemClock clock;
    ASSERT_TRUE(store::preparePeriodTables(m_orbWin, {m_dir / "run.log", clock}).empty());
    store::migrateOwnTables(m_orbWin);
    m_orbCode.execute(
        "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9) VALUES ('12345678', "
        "'測試商行', '123456789')");
    m_orbCode.execute("INSERT INTO ORBDB1_ATH_CODE (CODE, CODE_NM) VALUES ('T02', '零稅率銷售額')");
    m_orbCode.execute("INSERT INTO ORBDB1_ATH_CODE (CODE, CODE_NM) VALUES ('T08', '固定資產')");

    demodata::T02Line line;
    line.BAN = "12345678";
    line.PCTS_MODE = "1";
    line.ZTX_S_AMT = 1234567;
    const fs::path filing = m_dir.write(
        "Default/12345678.T02", demodata::formatT02Record(line) + demodata::formatT02Record(line));
    m_orbWin.execute(
        "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, T02_CRC) VALUES ('12345678', '11302', "
        ":C)",
        {{"C", security::FileChecksumCalculator().checksumText(filing)}});
    m_taxpayer.BAN = "12345678";
    m_taxpayer.BAN_NM_X30 = "測試商行";
    m_taxpayer.VAT_LOSN_X9 = "123456789";
  }

  void TearDown() override { index::UploadLimit::resetForTests(); }

  QString doc(const std::string& name, std::size_t size) {
    return QString::fromStdString(
        common::utf8FromPath(m_dir.write("docs/" + name, std::string(size, 'x'))));
  }

  athup::testing::TempDir m_dir;
  store::Database m_orbWin;
  store::Database m_orbCode;
  athup::testing::ScriptedInteraction m_ui;
  std::function<void(QDialog&)> m_modalAction;
  QStringList m_documents;
  store::TaxpayerRecord m_taxpayer;
  IndexWindowContext m_context{m_ui,
                               m_orbWin,
                               m_orbCode,
                               "11302",
                               common::utf8FromPath(m_dir / "Default") + "/",
                               common::utf8FromPath(m_dir / "help") + "/",
                               common::utf8FromPath(m_dir / "doc") + "/",
                               [this](QDialog& dialog) {
                                 if (m_modalAction) m_modalAction(dialog);
                                 return dialog.result();
                               },
                               [this](QWidget*) { return m_documents; }};
};

TEST_F(IndexWindowsTest, TaxpayerEntryAcceptsOnlyAKnownEightDigitBan) {
  TaxpayerEntryWindow window(m_context);
  auto* ok = window.findChild<QPushButton*>(QStringLiteral("okButton"));
  ok->click();
  EXPECT_EQ(m_ui.messages().back(), "請輸入統一編號");
  window.banEdit()->setText(QStringLiteral("99999999"));
  ok->click();
  EXPECT_EQ(m_ui.messages().back(), "找不到營業人建檔資料");
  EXPECT_FALSE(window.taxpayer().has_value());
  EXPECT_EQ(window.result(), QDialog::Rejected);
  window.banEdit()->setText(QStringLiteral("12345678"));
  ok->click();
  ASSERT_TRUE(window.taxpayer().has_value());
  EXPECT_EQ(window.taxpayer()->BAN_NM_X30, "測試商行");
  EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(IndexWindowsTest, ImportStepImportsOpensAssignmentAndDeletes) {
  ImportStepWindow window(m_context, m_taxpayer);
  EXPECT_EQ(m_ui.messages().front(), "無法載入附件上傳資料檔填寫說明檔:\"HELP_ORBATT_STEP1.txt\"");
  EXPECT_EQ(window.headingLabel()->text(),
            QStringLiteral("統一編號：12345678  營業人名稱：測試商行  稅籍編號：123456789"));
  EXPECT_FALSE(window.defaultFolderLabel()->text().isEmpty());
  EXPECT_EQ(window.categoryChoice()->count(), 2);
  EXPECT_EQ(window.categoryGrid()->rowCount(), 0);

  window.editIndex();
  EXPECT_EQ(m_ui.messages().back(), "請選擇附件類別");

  // Import T02 and assign one document to the first row in the assignment window.
  int assignmentWindows = 0;
  m_documents = {doc("a.pdf", 1500)};
  m_modalAction = [&](QDialog& dialog) {
    auto* assignment = qobject_cast<AssignmentWindow*>(&dialog);
    ASSERT_NE(assignment, nullptr);
    ++assignmentWindows;
    EXPECT_EQ(assignment->rowsGrid()->rowCount(), 2);
    EXPECT_EQ(assignment->rowsGrid()->item(0, 13)->text(), QStringLiteral("1,234,567"));
    assignment->browse();
    assignment->save();
    m_ui.answers = {Answer::Yes};  // leave although the second row has no document
    assignment->reject();
  };
  window.categoryChoice()->setCurrentIndex(0);
  window.editIndex();
  EXPECT_EQ(assignmentWindows, 1);
  ASSERT_EQ(window.categoryGrid()->rowCount(), 1);
  EXPECT_EQ(window.categoryGrid()->item(0, 0)->text(), QStringLiteral("T02"));
  EXPECT_EQ(window.categoryGrid()->item(0, 1)->text(), QStringLiteral("2"));
  EXPECT_EQ(window.categoryGrid()->item(0, 2)->text(), QStringLiteral("1"));
  EXPECT_EQ(window.categoryGrid()->item(0, 3)->text(), QStringLiteral("1,500"));

  // Re-import question declined: the existing rows open.
  m_modalAction = [&](QDialog&) { ++assignmentWindows; };
  window.editIndex();
  EXPECT_EQ(assignmentWindows, 2);
  EXPECT_EQ(store::IndexQueries(m_orbWin).fileRowCount("12345678"), 1);

  m_ui.answers = {Answer::Yes};
  window.bulkDelete();
  EXPECT_EQ(window.categoryGrid()->rowCount(), 0);
  EXPECT_EQ(store::IndexQueries(m_orbWin).indexRowCount("12345678", "T02"), 0);
}

TEST_F(IndexWindowsTest, CustomFolderAndMissingFilingFile) {
  ImportStepWindow window(m_context, m_taxpayer);
  EXPECT_FALSE(window.folderEdit()->isEnabled());
  window.customButton()->setChecked(true);
  EXPECT_TRUE(window.folderEdit()->isEnabled());
  EXPECT_TRUE(window.defaultFolderLabel()->isHidden());
  window.folderEdit()->setText(QString::fromStdString(common::utf8FromPath(m_dir / "elsewhere")));
  window.categoryChoice()->setCurrentIndex(1);  // T08
  int opened = 0;
  m_modalAction = [&](QDialog&) { ++opened; };
  window.editIndex();
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(m_ui.messages().back(), "輸入的申報檔位置無申報檔案 ( 12345678.T08 )，請重新設定!");
}

TEST_F(IndexWindowsTest, AssignmentWindowSavesClearsAndDropsAnIndexWithoutFiles) {
  ImportStepWindow step(m_context, m_taxpayer);
  m_modalAction = [](QDialog&) {};
  step.categoryChoice()->setCurrentIndex(0);
  step.editIndex();

  AssignmentWindow window(m_context, QStringLiteral("heading"), "12345678", "T02",
                          QStringLiteral("零稅率銷售額"));
  EXPECT_EQ(window.countLabel()->text(), QStringLiteral("筆數：2"));
  EXPECT_FALSE(window.saveButton()->isEnabled());
  m_documents = {doc("a.pdf", 1000), doc("b.pdf", 2000)};
  window.browse();
  EXPECT_TRUE(window.saveButton()->isEnabled());
  EXPECT_EQ(window.rowSizeLabel()->text(), QStringLiteral("3,000(Bytes)"));
  window.save();
  EXPECT_FALSE(window.saveButton()->isEnabled());
  EXPECT_EQ(window.filesGrid()->rowCount(), 2);
  EXPECT_EQ(window.filesGrid()->item(1, 1)->text(), QStringLiteral("113021234567802000101"));
  EXPECT_EQ(window.rowsGrid()->item(0, 0)->text(), QStringLiteral("2"));
  EXPECT_EQ(window.totalSizeLabel()->text(), QStringLiteral("3,000(Bytes)"));
  EXPECT_EQ(window.pathList()->count(), 2);

  m_ui.answers = {Answer::Yes};
  window.clear();
  EXPECT_EQ(window.filesGrid()->rowCount(), 0);
  EXPECT_EQ(window.rowsGrid()->item(0, 0)->text(), QStringLiteral("0"));

  window.reject();  // rows without files: the question is declined, the window stays
  EXPECT_EQ(window.result(), QDialog::Rejected);
  EXPECT_EQ(store::IndexQueries(m_orbWin).indexRowCount("12345678", "T02"), 2);
  m_ui.answers = {Answer::Yes};
  window.reject();  // no file at all: the index is dropped
  EXPECT_EQ(store::IndexQueries(m_orbWin).indexRowCount("12345678", "T02"), 0);
}

TEST_F(IndexWindowsTest, FileSelectionGivesTheDefaultACustomOrNoFolder) {
  app::IniSettingsStore settings(m_dir / "settings.ini");
  {
    FileSelectionDialog dialog(settings, "/default/");
    dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    EXPECT_EQ(dialog.folder(), "/default/");
  }
  settings.writeString(app::kOrbKey, "UploadPath", "/uploads");
  {
    FileSelectionDialog dialog(settings, "/default/");
    EXPECT_FALSE(dialog.folderEdit()->isEnabled());
    dialog.customButton()->setChecked(true);
    EXPECT_TRUE(dialog.folderEdit()->isEnabled());
    EXPECT_EQ(dialog.folderEdit()->text(), QStringLiteral("/uploads/"));
    dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    EXPECT_EQ(dialog.folder(), "/uploads//");  // the doubled separator still resolves
  }
  {
    FileSelectionDialog dialog(settings, "/default/");
    dialog.findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
    EXPECT_EQ(dialog.folder(), "");
  }
}

}  // namespace
}  // namespace athup::gui
