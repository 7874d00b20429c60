#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "receipts/receipt_listing.h"
#include "store/engine/database.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QRadioButton;

namespace athup::gui {

// Where the window finds the receipt files and the taxpayer master.
struct ReceiptListSource {
  std::filesystem::path reportFolder;  // gReportPath
  std::string applyYM;                 // gApplyYM
  store::Database* athDb = nullptr;    // the ATH_DB alias
};

// The batch printing of receipt files: lists the taxpayers with a receipt file of the period,
// sortable by BAN, registration number or upload time, and lets the user check the ones to
// preview or print. Created once and reused; showing it sorts by BAN ascending again.
class ReceiptPrintWindow : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { Preview, Print };

  explicit ReceiptPrintWindow(QWidget* parent = nullptr);

  void setSource(ReceiptListSource source) { m_source = std::move(source); }
  void setMasks(std::vector<std::string> masks) { m_masks = std::move(masks); }

  // Rebuilds the list from the folder and the master for the current key and direction.
  void listReceiptFiles();

  // The BANs (first eight characters) of the checked lines, in list order.
  [[nodiscard]] std::vector<std::string> checkedBans() const;
  [[nodiscard]] Mode mode() const { return m_mode; }
  [[nodiscard]] receipts::ReceiptSortKey sortKey() const { return m_key; }
  [[nodiscard]] const std::string& sortOrder() const { return m_order; }
  [[nodiscard]] QString headingText() const;
  [[nodiscard]] QStringList lines() const;

  // The header bar's click: the direction turns over and the list is rebuilt.
  void toggleDirection();
  void setAllChecked(bool checked);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void choose(Mode mode);
  void sortBy(receipts::ReceiptSortKey key);

  ReceiptListSource m_source;
  std::vector<std::string> m_masks;
  receipts::ReceiptSortKey m_key = receipts::ReceiptSortKey::Ban;
  std::string m_order{receipts::kAscending};
  Mode m_mode = Mode::Preview;
  QRadioButton* m_byBan;
  QRadioButton* m_byLosn;
  QRadioButton* m_byDate;
  QWidget* m_headerBar;
  QCheckBox* m_selectAll;
  QLabel* m_heading;
  QListWidget* m_list;
};

}  // namespace athup::gui
