#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace athup::gui {

// "帳號" (the taxpayer's BAN, read-only) and "密碼" (at most 10 characters, hidden), "確認" and
// "取消". "確認" is enabled from 4 characters on and accepts only 4-10 letters and digits; any
// other password shows the rule and empties the field.
class AccountPasswordDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AccountPasswordDialog(const QString& ban, QWidget* parent = nullptr);

  [[nodiscard]] QString password() const { return m_password; }
  [[nodiscard]] QLineEdit* passwordField() const { return m_edit; }
  [[nodiscard]] QPushButton* confirmButton() const { return m_confirm; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void confirm();

  QLineEdit* m_edit;
  QPushButton* m_confirm;
  QString m_password;
};

}  // namespace athup::gui
