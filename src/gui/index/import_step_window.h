#pragma once

#include <QDialog>
#include <string>

#include "gui/index/index_window_context.h"
#include "store/queries/taxpayer_record.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace athup::gui {

// Step 1 ((ORBATH101)附件清單登錄) for one taxpayer: the category and the folder of the filing
// files, the categories that already have documents, importing or opening a category and
// deleting one. The work is IndexImportFlow's; the window shows its results.
class ImportStepWindow : public QDialog {
  Q_OBJECT
 public:
  ImportStepWindow(const IndexWindowContext& context, store::TaxpayerRecord taxpayer,
                   QWidget* parent = nullptr);

  // Reloads the grid of categories with documents.
  void loadCategoryGrid();
  // "附件索引編輯" for the chosen category.
  void editIndex();
  // "索引資料整批刪除" for the grid's current category.
  void bulkDelete();
  // The folder of the filing files the import uses now.
  [[nodiscard]] std::string filingFolder() const;

  [[nodiscard]] QComboBox* categoryChoice() const { return m_category; }
  [[nodiscard]] QTableWidget* categoryGrid() const { return m_grid; }
  [[nodiscard]] QRadioButton* customButton() const { return m_custom; }
  [[nodiscard]] QLineEdit* folderEdit() const { return m_edit; }
  [[nodiscard]] QLabel* defaultFolderLabel() const { return m_defaultLabel; }
  [[nodiscard]] QLabel* headingLabel() const { return m_heading; }
  [[nodiscard]] QPlainTextEdit* helpText() const { return m_help; }

  void done(int result) override;

 private:
  void openAssignment(const std::string& type);
  void rememberFolder();
  [[nodiscard]] QString taxpayerLine() const;

  const IndexWindowContext& m_context;
  store::TaxpayerRecord m_taxpayer;
  QLabel* m_heading;
  QComboBox* m_category;
  QRadioButton* m_default;
  QRadioButton* m_custom;
  QLineEdit* m_edit;
  QPushButton* m_browse;
  QLabel* m_defaultLabel;
  QTableWidget* m_grid;
  QPlainTextEdit* m_help;
};

}  // namespace athup::gui
