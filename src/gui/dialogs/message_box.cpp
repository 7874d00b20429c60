#include "gui/dialogs/message_box.h"

#include <QMessageBox>
#include <deque>

namespace athup::gui {
namespace {

std::deque<Answer> g_nextAnswers;
bool g_autoAnswer = false;
QString g_lastText;
QString g_lastCaption;
QString g_defaultCaption;

QMessageBox::Icon iconFor(MessageKind kind) {
  switch (kind) {
    case MessageKind::Information:
      return QMessageBox::Information;
    case MessageKind::Warning:
      return QMessageBox::Warning;
    case MessageKind::Error:
      return QMessageBox::Critical;
    case MessageKind::Plain:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsFor(Buttons buttons) {
  switch (buttons) {
    case Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesCancel:
      return QMessageBox::Yes | QMessageBox::Cancel;
    case Buttons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

}  // namespace

Answer MessageBox::show(QWidget* parent, MessageKind kind, const QString& text,
                        const QString& caption, Buttons buttons) {
  g_lastText = text;
  g_lastCaption = caption.isEmpty() ? g_defaultCaption : caption;
  if (!g_nextAnswers.empty()) {
    Answer answer = g_nextAnswers.front();
    g_nextAnswers.pop_front();
    return answer;
  }
  if (g_autoAnswer) return declinedAnswer(buttons);

  QMessageBox box(iconFor(kind), g_lastCaption, text, buttonsFor(buttons), parent);
  switch (box.exec()) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      break;
  }
  // Closing the box without a button counts as declining it.
  return declinedAnswer(buttons);
}

void MessageBox::setDefaultCaption(const QString& caption) {
  g_defaultCaption = caption;
}

void MessageBox::setNextAnswer(Answer answer) {
  g_nextAnswers.push_back(answer);
}

void MessageBox::setAutoAnswer(bool on) {
  g_autoAnswer = on;
}

QString MessageBox::lastText() {
  return g_lastText;
}

QString MessageBox::lastCaption() {
  return g_lastCaption;
}

}  // namespace athup::gui
