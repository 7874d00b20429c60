#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace athup::gui {

// "請輸入 PIN 碼：" with a hidden field, "確定" and "取消", no title-bar buttons.
class PinDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PinDialog(QWidget* parent = nullptr);

  [[nodiscard]] QString pin() const;
  [[nodiscard]] QLineEdit* pinField() const { return m_edit; }

 private:
  QLineEdit* m_edit;
};

}  // namespace athup::gui
