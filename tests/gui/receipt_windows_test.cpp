#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "common/big5.h"
#include "gui/dialogs/message_box.h"
#include "gui/receipts/receipt_files_printing.h"
#include "gui/receipts/receipt_pdf_output.h"
#include "gui/receipts/receipt_print_window.h"
#include "receipts/receipt_content.h"
#include "receipts/receipt_layout.h"
#include "security/cipher/crypt_file.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/queries/status_queries.h"
#include "support/fixed_clock.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::gui {
namespace {

namespace fs = std::filesystem;
using athup::testing::TempDir;
using receipts::ReceiptPage;

constexpr double kPointsPerMillimetre = 72.0 / 25.4;

// One word of `pdftotext -bbox`, in millimetres.
struct Word {
  int page;
  double xMin;
  double yMin;
  double xMax;
  std::string text;
};

std::vector<Word> wordsOf(const fs::path& pdf) {
  const std::string command = "pdftotext -bbox \"" + pdf.string() + "\" - 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return {};
  }
  std::string html;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    html.append(buffer, n);
  }
  pclose(pipe);
  std::vector<Word> words;
  int page = 0;
  const std::regex item(
      R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    if (m.str(0) == "<page ") {
      ++page;
      continue;
    }
    words.push_back({page, std::stod(m.str(1)) / kPointsPerMillimetre,
                     std::stod(m.str(2)) / kPointsPerMillimetre,
                     std::stod(m.str(3)) / kPointsPerMillimetre, m.str(4)});
  }
  return words;
}

const Word* findWord(const std::vector<Word>& words, int page, const std::string& text) {
  for (const Word& word : words) {
    if (word.page == page && word.text == text) {
      return &word;
    }
  }
  return nullptr;
}

std::string statusLine(const std::string& code, const std::string& name) {
  auto field = [](std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
  };
  return "ORB001" + code + "000100" + field(name, 21) + "pdf" + field("00000000000001234567", 20) +
         field("100", 20) + "20240520143015" + "20240521093000" + "        " + field("OK", 50);
}

receipts::ReceiptContent receiptWith(std::size_t details) {
  receipts::ReceiptInputs inputs;
  inputs.header.ban = "12345675";
  inputs.header.uploadsCounted = "003";
  for (std::size_t i = 0; i < details; ++i) {
    inputs.statusLines.push_back(statusLine(i % 2 == 0 ? "02" : "14", "F" + std::to_string(i)));
  }
  inputs.taxpayer = store::TaxpayerRecord{};
  inputs.taxpayer->BAN_NM_X30 = "大同商行";
  inputs.taxpayer->VAT_LOSN_X9 = "123456789";
  inputs.hsnCd = "B";
  inputs.applyYM = "11306";
  inputs.todayYYYYMMDD = "20240603";
  return receipts::buildReceiptContent(inputs);
}

TEST(ReceiptPdf, TextsStandWhereTheLayoutPutsThem) {
  TempDir dir;
  const fs::path pdf = dir / "receipt.pdf";
  const std::vector<ReceiptPage> pages = receipts::layoutReceipt(receiptWith(4));
  ReceiptPdfOutput output(QString::fromStdString(pdf.string()));
  output.output(pages);
  ASSERT_EQ(output.finish(), 1);
  const std::vector<Word> words = wordsOf(pdf);
  ASSERT_FALSE(words.empty()) << "pdftotext (poppler-utils) is needed for this test";

  // Where a text's left edge, right edge or centre and its top must stand, in millimetres from
  // the paper's corner, within half a millimetre.
  const struct {
    const char* text;
    char edge;  // 'L' left, 'R' right, 'C' centre
    double x;
    double y;
  } cases[] = {
      {"所屬年月份：113年06月", 'L', 83.0, 20.8},
      {"第", 'L', 156.1, 24.3},
      {"1", 'R', 166.6, 24.3},  // the page number, right-aligned
      {"頁/共", 'L', 167.2, 24.3},
      {"頁", 'L', 186.5, 24.3},
      {"統一編號：12345675", 'L', 21.9, 32.4},
      {"營業人名稱：大同商行", 'L', 21.9, 39.3},
      {"稅籍編號：123456789", 'L', 21.9, 47.8},
      {"上傳附件類別", 'L', 30.6, 55.18},
      {"02：零稅率非經海關", 'L', 21.1, 63.63},
      {"113/05/20", 'C', 128.9, 63.63},
      {"上傳附件明細", 'L', 90.2, 89.3},
      {"1,234,567", 'R', 141.2, 112.0},
      {"財", 'L', 158.81, 163.5},  // 財　政　部 centred at 166.75 in bold 9 points
      {"113.05.21", 'L', 155.8, 174.4},
  };
  for (const auto& c : cases) {
    const Word* word = findWord(words, 1, c.text);
    ASSERT_NE(word, nullptr) << c.text;
    const double x = c.edge == 'L'   ? word->xMin
                     : c.edge == 'R' ? word->xMax
                                     : (word->xMin + word->xMax) / 2;
    EXPECT_NEAR(x, c.x, 0.5) << c.text;
    EXPECT_NEAR(word->yMin, c.y, 0.5) << c.text;
  }
}

TEST(ReceiptPdf, EveryReceiptNumbersItsOwnPages) {
  TempDir dir;
  const fs::path pdf = dir / "batch.pdf";
  ReceiptPdfOutput output(QString::fromStdString(pdf.string()));
  output.output(receipts::layoutReceipt(receiptWith(2)));
  output.output(receipts::layoutReceipt(receiptWith(50)));  // three pages of detail rows
  ASSERT_EQ(output.finish(), 4);
  const std::vector<Word> words = wordsOf(pdf);
  ASSERT_FALSE(words.empty()) << "pdftotext (poppler-utils) is needed for this test";
  const struct {
    int page;
    const char* number;
    const char* total;
  } cases[] = {{1, "1", "1"}, {2, "1", "3"}, {3, "2", "3"}, {4, "3", "3"}};
  for (const auto& c : cases) {
    std::string number;
    std::string total;
    for (const Word& word : words) {
      if (word.page == c.page && std::abs(word.yMin - 24.3) < 0.5) {
        if (std::abs(word.xMax - 166.6) < 0.5) number = word.text;
        if (std::abs(word.xMin - 177.7) < 0.5) total = word.text;
      }
    }
    EXPECT_EQ(number, c.number) << "page " << c.page;
    EXPECT_EQ(total, c.total) << "page " << c.page;
  }
  EXPECT_NE(findWord(words, 4, "營業稅網路申報收件章"), nullptr);  // the stamp ends the receipt
  EXPECT_EQ(findWord(words, 3, "營業稅網路申報收件章"), nullptr);
}

class ReceiptPrintWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "CODE");
    fs::create_directories(report);
    athDb.open("ATH_DB", dir / "CODE");
    store::createFilingProgramTable(athDb, store::kApplyerTable);
    const char* insert =
        "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9) VALUES (:BAN, :NM, :LOSN)";
    athDb.execute(insert, {{"BAN", "12345675"}, {"NM", "甲商行"}, {"LOSN", "300000000"}});
    athDb.execute(insert, {{"BAN", "23456789"}, {"NM", "乙商行"}, {"LOSN", "100000000"}});
    addFile("1234567511306.prn", 10);
    addFile("2345678911306.PRN", 30);
    addFile("3456789011306.prn", 20);  // not in the master
    window.setSource({report, "11306", &athDb});
    window.setMasks({"*.prn"});
  }

  void addFile(const std::string& name, int minutesAgo) {
    const fs::path file = dir.write("ATHRpt/" + name, "x");
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
  }

  QStringList bans() const {
    QStringList out;
    for (const QString& line : window.lines()) out << line.left(8);
    return out;
  }

  QListWidget* list() { return window.findChild<QListWidget*>(QStringLiteral("clbSelectBAN")); }
  QPushButton* button(const char* name) {
    return window.findChild<QPushButton*>(QString::fromLatin1(name));
  }

  TempDir dir;
  fs::path report = dir / "ATHRpt";
  store::Database athDb;
  ReceiptPrintWindow window;
};

TEST_F(ReceiptPrintWindowTest, ShowingListsByBanAndTheHeaderBarTurnsTheOrder) {
  window.show();
  EXPECT_EQ(bans(), (QStringList{"12345675", "23456789", "34567890"}));
  EXPECT_TRUE(window.headingText().startsWith(QStringLiteral("▲統一編號")));
  EXPECT_TRUE(window.lines()[2].startsWith(QStringLiteral("34567890 |              |")));
  bool explained = false;  // why a line has no name
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    explained =
        explained || label->text() == QString::fromUtf8(receipts::kReceiptListStatus.data());
  }
  EXPECT_TRUE(explained);

  window.findChild<QRadioButton*>(QStringLiteral("rbtSortByDate"))->click();
  EXPECT_EQ(bans(), (QStringList{"34567890", "23456789", "12345675"}));  // no time sorts first
  QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("plSelectAll")), Qt::LeftButton, {},
                    QPoint(300, 5));
  EXPECT_EQ(window.sortOrder(), "MaxToMin");
  EXPECT_EQ(bans(), (QStringList{"12345675", "23456789", "34567890"}));  // newest first
  EXPECT_TRUE(window.headingText().endsWith(QStringLiteral("   ▼上傳時間")));
  window.toggleDirection();
  EXPECT_EQ(bans(), (QStringList{"34567890", "23456789", "12345675"}));

  window.findChild<QRadioButton*>(QStringLiteral("rbtSortByLosn"))->click();
  EXPECT_EQ(bans(), (QStringList{"34567890", "23456789", "12345675"}));
  window.hide();
  window.show();  // showing again sorts by BAN ascending
  EXPECT_EQ(bans(), (QStringList{"12345675", "23456789", "34567890"}));
  EXPECT_TRUE(window.findChild<QRadioButton*>(QStringLiteral("rbtSortByBan"))->isChecked());
}

TEST_F(ReceiptPrintWindowTest, AMissingTaxpayerMasterShowsTheEnginesMessage) {
  store::Database empty;
  empty.open("ATH_DB", dir / "nothing");
  window.setSource({report, "11306", &empty});
  MessageBox::setNextAnswer(Answer::Ok);
  window.show();
  EXPECT_TRUE(window.lines().isEmpty());
  EXPECT_FALSE(MessageBox::lastText().isEmpty());
}

TEST_F(ReceiptPrintWindowTest, ChecksDecideWhatIsPrintedAndHow) {
  window.show();
  MessageBox::setNextAnswer(Answer::Ok);
  button("btnPreview")->click();
  EXPECT_EQ(MessageBox::lastText(), QStringLiteral("請選擇營業人統一編號!!"));
  EXPECT_TRUE(window.isVisible());

  button("btnSelectAll")->click();
  EXPECT_EQ(window.checkedBans().size(), 3U);
  // A click on a line's text toggles it; the first 14 pixels belong to its check box.
  QListWidgetItem* second = list()->item(1);
  const QRect rect = list()->visualItemRect(second);
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                    QPoint(rect.left() + 80, rect.center().y()));
  EXPECT_EQ(window.checkedBans(), (std::vector<std::string>{"12345675", "34567890"}));

  button("btnPrint")->click();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(window.mode(), ReceiptPrintWindow::Mode::Print);

  window.show();  // listing again unchecks everything
  EXPECT_TRUE(window.checkedBans().empty());
  window.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(true);
  window.close();  // the title-bar close keeps the checks: the batch still runs
  EXPECT_EQ(window.checkedBans().size(), 3U);

  window.show();
  window.setAllChecked(true);
  button("btnCancel")->click();
  EXPECT_TRUE(window.checkedBans().empty());
  EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST(ReceiptFilesPrinting, ClosingTheWindowStillPreviewsEachCheckedReceiptInTurn) {
  TempDir dir;
  fs::create_directories(dir / "CODE");
  fs::create_directories(dir / "11305");
  const fs::path report = dir / "ATHRpt";
  fs::create_directories(report);
  store::Database orbCode;
  store::Database orbWin;
  store::Database athDb;
  orbCode.open("ORBCODE", dir / "CODE");
  orbWin.open("ORBWIN", dir / "11305");
  for (const auto table : store::codeFolderTables())
    store::createFilingProgramTable(orbCode, table);
  store::createFilingProgramTable(orbWin, store::kLastUploadTable);
  athup::testing::FixedClock clock(2024, 6, 3);
  ASSERT_TRUE(store::preparePeriodTables(orbWin, {dir / "orb_Ath.log", clock}).empty());
  athDb.open("ATH_DB", dir / "CODE");
  for (const std::string ban : {"12345675", "23456789"}) {
    const fs::path plain = dir.write(
        "plain.txt", common::utf8ToBig5("ORB000" + ban + "005     0030\r\n" +
                                        statusLine("02", "A") + "\r\n" + statusLine("14", "B")));
    security::cryptFileWithPassword(plain, report / (ban + "11306.prn"),
                                    security::CryptMode::Encrypt, ban);
  }

  store::StatusQueries status(orbWin);
  std::vector<std::size_t> storedWhileShown;
  bool listed = false;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* window = qobject_cast<ReceiptPrintWindow*>(modal); window && !listed) {
      listed = true;
      window->setAllChecked(true);
      window->close();  // the title-bar close box
    } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
      storedWhileShown.push_back(status.statusLines("12345675").size() +
                                 status.statusLines("23456789").size());
      preview->reject();
    }
  });
  driver.start(20);
  athup::testing::ScriptedInteraction ui;
  printReceiptFiles(nullptr, {ui, orbWin, orbCode, athDb, clock, report, "11306"}, {"*.prn"});
  driver.stop();

  EXPECT_TRUE(listed);
  EXPECT_EQ(storedWhileShown, (std::vector<std::size_t>{2, 2}));  // one taxpayer's lines at a time
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_TRUE(status.statusLines("12345675").empty());
  EXPECT_TRUE(status.statusLines("23456789").empty());
  for (const auto& entry : fs::directory_iterator(report)) {
    EXPECT_NE(entry.path().extension(), ".dprn");
  }
}

}  // namespace
}  // namespace athup::gui
