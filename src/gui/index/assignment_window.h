#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

#include "gui/index/index_window_context.h"
#include "index/flows/assignment_flow.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace athup::gui {

// Step 2 ((ORBATH102) 附件索引設定) for one taxpayer and category: the index rows with their
// document counts, the current row's documents, and browse / save / clear / leave. The work is
// AssignmentFlow's; the window shows its results.
class AssignmentWindow : public QDialog {
  Q_OBJECT
 public:
  AssignmentWindow(const IndexWindowContext& context, const QString& taxpayerLine,
                   const std::string& ban, const std::string& type, const QString& categoryName,
                   QWidget* parent = nullptr);

  // Reloads the index rows and selects the given row (0-based, clamped).
  void reload(int row);

  [[nodiscard]] QTableWidget* rowsGrid() const { return m_rows; }
  [[nodiscard]] QTableWidget* filesGrid() const { return m_files; }
  [[nodiscard]] QListWidget* pathList() const { return m_paths; }
  [[nodiscard]] QPushButton* saveButton() const { return m_save; }
  [[nodiscard]] QLabel* rowSizeLabel() const { return m_rowSize; }
  [[nodiscard]] QLabel* totalSizeLabel() const { return m_totalSize; }
  [[nodiscard]] QLabel* countLabel() const { return m_count; }

  void browse();
  void save();
  void clear();

  // Leaving asks when rows lack documents, and drops a category left with none.
  void done(int result) override;

 private:
  void rowChanged();
  void forgetChosen();
  [[nodiscard]] std::string currentSeq() const;

  const IndexWindowContext& m_context;
  index::AssignmentFlow m_flow;
  std::string m_type;
  QTableWidget* m_rows;
  QTableWidget* m_files;
  QListWidget* m_paths;
  QLabel* m_count;
  QLabel* m_rowSize;
  QLabel* m_totalSize;
  QPushButton* m_save;
  QStringList m_chosen;
};

}  // namespace athup::gui
