#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <memory>
#include <string>

#include "common/interaction.h"

class QPrinter;
class QTextEdit;
class QToolBar;

namespace athup::gui {

// The text viewer: a read-only editor for plain text (error lists, files the user opens) and rich
// text (the notice at start-up), with save, open, print set-up, print and font choice.
class TextViewer : public QDialog {
  Q_OBJECT
 public:
  // How a file is shown: the notice as formatted rich text, anything else as plain text.
  enum class ViewMode { PlainText, Notice };
  static constexpr char kPrintJobTitle[] = "營業稅審核錯誤清單";
  static constexpr char kFileFilter[] = "Text File (*.txt)|*.TXT|Any File (*.*)|*.*";

  explicit TextViewer(Interaction& interaction, QWidget* parent = nullptr);
  ~TextViewer() override;

  // Loads the file and remembers it with the mode; Notice shows rich text with the caption
  // "訊息公告 - " + path, PlainText plain text with "純文字編輯器 - " + path. A file that
  // cannot be read raises athup::Error and leaves the previous content.
  void load(const std::filesystem::path& path, ViewMode mode);

  // Writes the editor's lines as Big5 with CR LF; raises athup::Error when it cannot.
  void saveTo(const std::filesystem::path& path) const;
  // Prints the content with the editor's font as the job "營業稅審核錯誤清單".
  void printTo(QPrinter& printer) const;
  void setEditorFont(const QFont& font);

  [[nodiscard]] QTextEdit* editor() const { return m_text; }
  [[nodiscard]] QToolBar* toolBar() const { return m_toolBar; }
  [[nodiscard]] const std::filesystem::path& fileName() const { return m_path; }
  [[nodiscard]] bool isRichText() const { return m_rich; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void onSave();
  void onOpen();
  void onPrintSetup();
  void onPrint();
  void onFont();
  // Reports an error the way the program reports uncaught errors: its text in a message box.
  void report(const std::exception& error);

  Interaction& m_interaction;
  QTextEdit* m_text;
  QToolBar* m_toolBar;
  std::unique_ptr<QPrinter> m_printer;
  std::filesystem::path m_path;
  ViewMode m_mode = ViewMode::PlainText;
  bool m_rich = false;
};

}  // namespace athup::gui
