#include "gui/shell/workflow_window.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QToolTip>

#include "gui/support/qt_text.h"

namespace athup::gui {

const WorkflowWindow::Area WorkflowWindow::kAreas[5] = {
    {"sb171", QRect(47, 102, 111, 49)},
    {"sb120", QRect(311, 46, 111, 48)},
    {"SpeedButton1", QRect(476, 44, 170, 49)},
    {"SpeedButton2", QRect(315, 157, 111, 48)},
    {"sbClose", QRect(478, 154, 164, 43)},
};

WorkflowWindow::WorkflowWindow(app::ProgramLocation location, std::string today, QWidget* parent)
    : QWidget(parent),
      m_location(std::move(location)),
      m_today(std::move(today)),
      m_picture(new QLabel(this)) {
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

  m_picture->setObjectName(QStringLiteral("imgFlow"));
  m_picture->move(0, 0);
  m_picture->setToolTip(QString::fromUtf8(kHint));

  using Request = void (WorkflowWindow::*)();
  const Request requests[5] = {&WorkflowWindow::entryRequested, &WorkflowWindow::uploadRequested,
                               &WorkflowWindow::resultRequested, &WorkflowWindow::mediaRequested,
                               &WorkflowWindow::closeRequested};
  for (int i = 0; i < 5; ++i) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(kAreas[i].name));
    button->setGeometry(kAreas[i].rect);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QString::fromUtf8(kHint));
    // Invisible over the picture: no frame, no fill, the picture shows through.
    button->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
    connect(button, &QPushButton::clicked, this, requests[i]);
  }
}

std::string WorkflowWindow::pictureName(const std::string& today) {
  return today < "1080101" ? "ORBATH-flow.jpg" : "ORBATH-flow_V4.jpg";
}

QPushButton* WorkflowWindow::area(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name));
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
