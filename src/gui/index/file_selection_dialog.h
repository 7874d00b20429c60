#pragma once

#include <QDialog>
#include <string>

#include "app/settings_store.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace athup::gui {

// Where the uploaded filing files lie (選擇申報資料檔案存放路徑), asked by the zero-rate
// confirmation of the checks: the default folder or a folder of the user's.
class FileSelectionDialog : public QDialog {
  Q_OBJECT
 public:
  FileSelectionDialog(app::SettingsStore& settings, std::string defaultFolder,
                      QWidget* parent = nullptr);

  // The folder of the filing files after "確定" (ending with a separator); empty after "取 消".
  [[nodiscard]] const std::string& folder() const { return m_folder; }

  [[nodiscard]] QRadioButton* customButton() const { return m_custom; }
  [[nodiscard]] QLineEdit* folderEdit() const { return m_edit; }

 private:
  void customToggled(bool on);
  void browse();

  app::SettingsStore& m_settings;
  std::string m_defaultFolder;
  std::string m_folder;
  QRadioButton* m_default;
  QRadioButton* m_custom;
  QLineEdit* m_edit;
  QPushButton* m_browse;
};

}  // namespace athup::gui
