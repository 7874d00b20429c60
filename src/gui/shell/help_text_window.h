#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

#include "common/interaction.h"

class QPlainTextEdit;
class QPushButton;

namespace athup::gui {

// The help-text window of the step windows: caption "說明", the text in a read-only memo and a
// close button "關閉視窗" in a sky-blue strip. Help texts are Big5 with CR LF.
class HelpTextWindow : public QDialog {
  Q_OBJECT
 public:
  explicit HelpTextWindow(QWidget* parent = nullptr);

  // Reads the file into the memo; false (memo unchanged) when it cannot be read.
  [[nodiscard]] bool loadFile(const std::filesystem::path& path);

  [[nodiscard]] QPlainTextEdit* memo() const { return m_memo; }
  [[nodiscard]] QPushButton* closeButton() const { return m_close; }

  // What the step windows do: load fileName from the help folder and show it modally, or show
  // "無法載入附件上傳資料檔填寫說明檔:" + the file name in double quotes when it cannot be loaded.
  static void showHelpFile(QWidget* parent, Interaction& interaction,
                           const std::filesystem::path& helpFolder, const std::string& fileName);
  [[nodiscard]] static std::string loadFailureText(const std::string& fileName);

 private:
  QPlainTextEdit* m_memo;
  QPushButton* m_close;
};

}  // namespace athup::gui
