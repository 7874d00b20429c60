#include "gui/startup/splash_window.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QStringList>

#include "gui/support/fonts.h"

namespace athup::gui {
namespace {

constexpr int kShapeLeft = 400;
constexpr int kLabelLeft = 425;
constexpr int kSlideStop = 380;
constexpr int kSlideStep = 5;
constexpr int kNoticeWidth = 290;

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& where,
                 const QFont& font, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(where);
  label->setFont(font);
  label->setAlignment(align);
  return label;
}

// Breaks the notice only at blanks, never inside a run of Chinese text, so each padded column of
// the notice starts a line of its own; the blanks that end a line take no room.
QString wrapAtBlanks(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList lines;
  QString line;
  for (const QString& word : text.split(QLatin1Char(' '))) {
    const QString candidate =
        line.isEmpty() && !word.isEmpty() ? word : line + QLatin1Char(' ') + word;
    QString used = candidate;
    while (used.endsWith(QLatin1Char(' '))) used.chop(1);
    if (!word.isEmpty() && !line.trimmed().isEmpty() && metrics.horizontalAdvance(used) > width) {
      lines.append(line);
      line = word;
    } else {
      line = candidate;
    }
  }
  if (!line.trimmed().isEmpty()) lines.append(line);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

SplashWindow::SplashWindow(Texts texts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_texts(std::move(texts)) {
  setObjectName(QStringLiteral("frmORBLogo"));
  setWindowTitle(m_texts.title);  // borderless, but the task bar names it
  setFixedSize(720, 341);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  setPalette(white);

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("imgLogo"));
  if (!m_texts.picture.isNull()) {
    picture->setPixmap(
        m_texts.picture.scaled(180, 180, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  }
  picture->setGeometry(24, 30, 180, 180);

  QFont title = kaiFont(30);
  title.setBold(true);
  addLabel(this, "labTitle", m_texts.title, QRect(220, 30, 480, 48), title);
  addLabel(this, "labResolution", QString::fromUtf8(kResolutionLine), QRect(220, 86, 480, 24),
           mingFont(14));
  addLabel(this, "labVersion", m_texts.version, QRect(220, 120, 170, 24), mingFont(16));
  addLabel(this, "labVerDate", m_texts.versionDate, QRect(220, 148, 170, 24), mingFont(14));
  addLabel(this, "lbContinue", m_texts.welcome, QRect(24, 300, 672, 28), kaiFont(18),
           Qt::AlignCenter);

  m_shape = new QFrame(this);
  m_shape->setObjectName(QStringLiteral("Shape1"));
  m_shape->setAutoFillBackground(true);
  QPalette navy = m_shape->palette();
  navy.setColor(QPalette::Window, QColor(0, 0, 128));
  m_shape->setPalette(navy);
  m_shape->setGeometry(kShapeLeft, 176, 320, 116);

  m_notice = new QLabel(this);
  m_notice->setObjectName(QStringLiteral("noticeLabel"));
  m_notice->setTextFormat(Qt::PlainText);
  m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_notice->setFont(mingFont(12));
  QPalette light = m_notice->palette();
  light.setColor(QPalette::WindowText, Qt::white);
  m_notice->setPalette(light);
  m_notice->setText(wrapAtBlanks(m_texts.notice.value_or(QString()), QFontMetrics(m_notice->font()),
                                 kNoticeWidth));

  m_timer.setInterval(kTickMs);
  connect(&m_timer, &QTimer::timeout, this, &SplashWindow::tick);
}

QLabel* SplashWindow::label(const char* name) const {
  return findChild<QLabel*>(QString::fromLatin1(name));
}

void SplashWindow::showEvent(QShowEvent* event) {
  m_ticks = 0;
  m_shape->move(kShapeLeft, m_shape->y());
  m_notice->setGeometry(kLabelLeft, m_shape->y() + 8, kNoticeWidth, 100);
  m_shape->show();
  m_notice->show();
  if (!m_texts.notice) {
    // No readable notice file: the panel shrinks to a line and the label goes away.
    m_shape->resize(1, m_shape->height());
    m_notice->hide();
  }
  m_timer.start();
  QDialog::showEvent(event);
}

void SplashWindow::tick() {
  ++m_ticks;
  if (m_shape->x() > kSlideStop) {
    m_shape->move(m_shape->x() - kSlideStep, m_shape->y());
    m_notice->move(m_notice->x() - kSlideStep, m_notice->y());
  }
  if (m_ticks > kLastTick) {
    // While the notice viewer is up the splash waits for it, as its modal loop sits above ours.
    if (m_inActivation) {
      m_closeAfterActivation = true;
      return;
    }
    close();
  }
}

bool SplashWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !m_activated) {
    m_activated = true;
    // Out of the activation event, so the viewer's modal loop does not run inside it.
    QTimer::singleShot(0, this, &SplashWindow::runFirstActivation);
  }
  return QDialog::event(event);
}

void SplashWindow::runFirstActivation() {
  if (!m_onFirstActivation) return;
  m_inActivation = true;
  m_onFirstActivation();
  m_inActivation = false;
  if (m_closeAfterActivation) close();
}

void SplashWindow::keyPressEvent(QKeyEvent* event) {
  event->accept();
  close();
}

void SplashWindow::mousePressEvent(QMouseEvent* event) {
  QDialog::mousePressEvent(event);
  close();
}

void SplashWindow::done(int result) {
  m_timer.stop();
  QDialog::done(result);
}

}  // namespace athup::gui
