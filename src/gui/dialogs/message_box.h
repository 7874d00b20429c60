#pragma once

#include <QString>

#include "common/interaction.h"

class QWidget;

namespace athup::gui {

// Every message box of the program goes through here, so tests can answer the next box without
// a modal dialog ever blocking them.
class MessageBox {
 public:
  [[nodiscard]] static Answer show(QWidget* parent, MessageKind kind, const QString& text,
                                   const QString& caption, Buttons buttons);

  // The caption of boxes that bring none of their own: the program's title.
  static void setDefaultCaption(const QString& caption);

  // The next box is not shown: it returns this answer at once.
  static void setNextAnswer(Answer answer);
  // Answer every box at once with declinedAnswer until switched off.
  static void setAutoAnswer(bool on);
  // The text and caption of the box asked last, shown or answered by script.
  [[nodiscard]] static QString lastText();
  [[nodiscard]] static QString lastCaption();
};

}  // namespace athup::gui
