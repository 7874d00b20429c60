#pragma once

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QGroupBox;
class QVBoxLayout;

namespace athup::gui {

// "選擇憑證種類": one radio button per certificate type and "確認"; no cancel. The result is the
// chosen item's index + 1. Built with the three types; the citizen certificate is removed before
// the dialog is shown, so only "1" and "2" can come back.
class CertTypeDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CertTypeDialog(QWidget* parent = nullptr);

  // Removes the third item while the group still has three.
  void removeThirdItem();
  [[nodiscard]] int itemCount() const;
  [[nodiscard]] int chosenIndex() const;  // 0-based
  void choose(int index);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QButtonGroup* m_group;
  QVBoxLayout* m_items;
};

}  // namespace athup::gui
