#include "gui/shell/status_slots.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>

namespace athup::gui {

StatusSlots::StatusSlots(QStatusBar* bar) : QObject(bar), m_bar(bar) {
  static constexpr int kWidths[3] = {90, 200, 50};
  for (int i = 0; i < 3; ++i) {
    m_slots[i] = new QLabel(bar);
    m_slots[i]->setObjectName(QStringLiteral("stbStateSlot%1").arg(i));
    m_slots[i]->setMinimumWidth(kWidths[i]);
    m_slots[i]->setFrameShape(QFrame::Panel);
    m_slots[i]->setFrameShadow(QFrame::Sunken);
    // The last slot takes the rest of the bar, so long alerts such as the database path fit.
    bar->addWidget(m_slots[i], i == 2 ? 1 : 0);
  }
  m_clearTimer.setSingleShot(true);
  m_clearTimer.setInterval(kClearIntervalMs);
  connect(&m_clearTimer, &QTimer::timeout, this, &StatusSlots::clearNotes);
}

void StatusSlots::showStatus(StatusKind kind, const QString& text) {
  switch (kind) {
    case StatusKind::Note:
      m_slots[0]->setText(text);
      m_clearTimer.start();
      break;
    case StatusKind::Alert:
      m_clearTimer.start();
      QApplication::beep();
      m_slots[2]->setText(text);
      if (QWidget* window = m_bar->window()) window->setToolTip(text);
      break;
    case StatusKind::Period:
      m_slots[1]->setText(text);
      break;
  }
}

QString StatusSlots::slotText(int slot) const {
  return slot >= 0 && slot < 3 ? m_slots[slot]->text() : QString();
}

void StatusSlots::clearNotes() {
  m_slots[2]->clear();
  m_slots[0]->clear();
}

}  // namespace athup::gui
