#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/period_field.h"
#include "common/interaction.h"

class QLineEdit;
class QPushButton;

namespace athup::gui {

// The period-selection window: the user types the period the data belongs to (YYY/MM) and
// confirms; the window then prepares the working environment and closes with the OK result only
// when that succeeded. "取消" asks the whole program to end.
class PeriodWindow : public QDialog {
  Q_OBJECT
 public:
  // Prepares the environment for a confirmed period; false after its message was shown.
  using Prepare = std::function<bool(const app::PeriodField& period)>;

  PeriodWindow(Interaction& interaction, const std::string& defaultPeriod, Prepare prepare,
               QWidget* parent = nullptr);

  // The field's value without the "/" of the mask.
  [[nodiscard]] std::string value() const;
  // True once "取消" was pressed (or Esc, which stands for it): the caller ends the program.
  [[nodiscard]] bool terminationRequested() const { return m_terminate; }

  [[nodiscard]] QLineEdit* field() const { return m_edit; }
  [[nodiscard]] QPushButton* confirmButton() const { return m_confirm; }
  [[nodiscard]] QPushButton* cancelButton() const { return m_cancel; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void confirm();
  void cancel();

  Interaction& m_interaction;
  Prepare m_prepare;
  QLineEdit* m_edit;
  QPushButton* m_confirm;
  QPushButton* m_cancel;
  bool m_terminate = false;
};

}  // namespace athup::gui
