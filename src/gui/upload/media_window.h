#pragma once

#include <QDialog>
#include <optional>

#include "gui/index/index_window_context.h"
#include "upload/media/unit_picker.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace athup::gui {

// The media-file window (媒體檔申報): the complete taxpayers not yet picked and those picked, a
// destination folder, and the run that writes a folder per picked taxpayer. The lists are filled
// once, before the window shows; the moving rules live in upload::UnitPicker.
class MediaWindow : public QDialog {
  Q_OBJECT
 public:
  MediaWindow(const IndexWindowContext& context, QWidget* parent = nullptr);

  // The menu entry: the window, modally, with the main menu off meanwhile (the caller's part).
  static void open(const IndexWindowContext& context, QWidget* parent);

  [[nodiscard]] QListWidget* sourceList() const { return m_source; }
  [[nodiscard]] QListWidget* pickedList() const { return m_picked; }
  [[nodiscard]] QLineEdit* destinationEdit() const { return m_destination; }
  [[nodiscard]] QPushButton* button(const QString& objectName) const;

 protected:
  bool event(QEvent* event) override;

 private:
  void include();
  void includeAll();
  void exclude();
  void excludeAll();
  void browse();
  void create();
  void showHelp();
  // Shows both lists from the picker, selects `next` in `from`, and enables the buttons.
  void refresh(QListWidget* from, std::optional<std::size_t> next);
  [[nodiscard]] static std::vector<std::size_t> selectedRows(const QListWidget* list);

  const IndexWindowContext& m_context;
  upload::UnitPicker m_picker;
  QListWidget* m_source;
  QListWidget* m_picked;
  QLineEdit* m_destination;
  QPushButton* m_include;
  QPushButton* m_includeAll;
  QPushButton* m_exclude;
  QPushButton* m_excludeAll;
  QPushButton* m_create;
  // Set while the completeness warning is up, and when its box took the focus, so closing it
  // does not warn again.
  bool m_warning = false;
  bool m_skipActivation = false;
};

}  // namespace athup::gui
