#include "gui/shell/workflow_window.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>

#include "gui/shell/flow_areas.h"
#include "gui/support/qt_text.h"

namespace athup::gui {

WorkflowWindow::WorkflowWindow(app::ProgramLocation location, std::string today, QWidget* parent)
    : QWidget(parent),
      m_location(std::move(location)),
      m_today(std::move(today)),
      m_picture(new QLabel(this)),
      m_hintTimer(new QTimer(this)) {
  setObjectName(QStringLiteral("frmFlow"));
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  // Hints of the program show yellow from here on.
  QPalette hint = QToolTip::palette();
  hint.setColor(QPalette::ToolTipBase, QColor(255, 255, 0));
  hint.setColor(QPalette::ToolTipText, Qt::black);
  QToolTip::setPalette(hint);

  m_hintTimer->setSingleShot(true);
  m_hintTimer->setInterval(kHintDelayMs);
  connect(m_hintTimer, &QTimer::timeout, this, &WorkflowWindow::showHint);

  m_picture->setObjectName(QStringLiteral("imgFlow"));
  m_picture->installEventFilter(this);
  m_picture->move(0, 0);
  m_picture->setToolTip(QString::fromUtf8(kHint));

  const auto requestOf = [](FlowStep step) {
    switch (step) {
      case FlowStep::Entry:
        return &WorkflowWindow::entryRequested;
      case FlowStep::Upload:
        return &WorkflowWindow::uploadRequested;
      case FlowStep::Result:
        return &WorkflowWindow::resultRequested;
      case FlowStep::Media:
        return &WorkflowWindow::mediaRequested;
      case FlowStep::Close:
        break;
    }
    return &WorkflowWindow::closeRequested;
  };
  for (const FlowArea& area : kFlowAreas) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(area.name));
    button->setGeometry(area.rect);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QString::fromUtf8(kHint));
    // Invisible over the picture: no frame, no fill, the picture shows through.
    button->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, requestOf(area.step));
  }
}

std::string WorkflowWindow::pictureName(const std::string& today) {
  return today < "1080101" ? "ORBATH-flow.jpg" : "ORBATH-flow_V4.jpg";
}

QPushButton* WorkflowWindow::area(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name));
}

bool WorkflowWindow::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::Enter:
      m_hovered = widget;
      m_hintTimer->start();
      break;
    case QEvent::Leave:
      if (m_hovered == widget) {
        m_hovered = nullptr;
        m_hintTimer->stop();
        QToolTip::hideText();
      }
      break;
    case QEvent::ToolTip:
      return true;  // Qt's own, earlier hint; the timer shows it instead
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void WorkflowWindow::showHint() {
  if (m_hovered) QToolTip::showText(QCursor::pos(), m_hovered->toolTip(), m_hovered);
}

void WorkflowWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_loaded) return;
  const std::filesystem::path file = m_location.deliveryFile(pictureName(m_today));
  QPixmap picture;
  if (!picture.load(fromPath(file))) {
    emit loadFailed(QStringLiteral("無法載入圖檔 \"%1\"。").arg(fromPath(file)));
    return;
  }
  m_loaded = true;
  m_picture->setPixmap(picture);
  m_picture->resize(picture.size());
  m_picture->lower();
}

}  // namespace athup::gui
