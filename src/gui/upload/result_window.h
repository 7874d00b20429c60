#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "common/interaction.h"
#include "store/engine/database.h"
#include "upload/certificate_port.h"
#include "upload/filing_context.h"
#include "upload/result/result_records.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace athup::gui {

// What the result window works on: the port, the period's tables, the certificate of the run and
// the filing context, built anew for every search so a changed server setting counts at once.
struct ResultWindowContext {
  Interaction& interaction;
  store::Database& orbWin;
  store::Database& orbCode;
  upload::CertificatePort& certificate;
  std::function<upload::FilingContext()> filingContext;
  std::string period;    // gDataYM
  std::string helpPath;  // gHelpPath
};

// The result window ((ORBATH201)附件上傳結果查詢): the taxpayer, the search and the grid of the
// stored status lines. The search is ResultQuery's; the window shows what it stored.
class ResultWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ResultWindow(ResultWindowContext context, QWidget* parent = nullptr);

  // "查詢" for the typed BAN.
  void search();
  // Fills the grid with the taxpayer's stored status lines.
  void loadGrid(const std::string& ban);

  // The header of the last decoded answer, which the receipt reads.
  [[nodiscard]] const upload::ResultHeader& queryHeader() const { return m_header; }

  [[nodiscard]] QLineEdit* banEdit() const { return m_ban; }
  [[nodiscard]] QLabel* taxpayerLabel() const { return m_taxpayer; }
  [[nodiscard]] QLabel* periodLabel() const { return m_period; }
  [[nodiscard]] QTableWidget* grid() const { return m_grid; }
  [[nodiscard]] QPushButton* searchButton() const { return m_search; }
  [[nodiscard]] QPushButton* printButton() const { return m_print; }
  [[nodiscard]] QPushButton* helpButton() const { return m_helpButton; }
  [[nodiscard]] QPlainTextEdit* helpText() const { return m_help; }

 private:
  void banEdited(const QString& text);
  // Looks the taxpayer up (an unknown one is reported) and shows its line; false when unknown.
  bool showTaxpayer(const std::string& ban);

  ResultWindowContext m_context;
  upload::ResultHeader m_header;
  QLabel* m_taxpayer;
  QLabel* m_period;
  QLineEdit* m_ban;
  QPushButton* m_search;
  QPushButton* m_print;
  QPushButton* m_helpButton;
  QTableWidget* m_grid;
  QPlainTextEdit* m_help;
  QWidget* m_body;
};

}  // namespace athup::gui
