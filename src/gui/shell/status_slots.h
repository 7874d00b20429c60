#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "common/interaction.h"

class QLabel;
class QStatusBar;

namespace athup::gui {

// The three slots of the main window's status bar (90, 200 and 50 pixels): short notes, the
// permanent period line and alerts. Notes and alerts are emptied 6 s after the last of them.
class StatusSlots : public QObject {
  Q_OBJECT
 public:
  static constexpr int kClearIntervalMs = 6000;

  explicit StatusSlots(QStatusBar* bar);

  // showStatus: Note → slot 0 and (re)start the clearing timer; Alert → (re)start the timer,
  // beep, slot 2 and the window's hint; Period → slot 1, kept until replaced.
  void showStatus(StatusKind kind, const QString& text);

  [[nodiscard]] QString slotText(int slot) const;
  [[nodiscard]] bool clearingPending() const { return m_clearTimer.isActive(); }
  // Tests shorten the 6 s so they need not wait for it.
  void setClearInterval(int ms) { m_clearTimer.setInterval(ms); }

 private:
  void clearNotes();

  QStatusBar* m_bar;
  QLabel* m_slots[3];
  QTimer m_clearTimer;  // TmClearError
};

}  // namespace athup::gui
