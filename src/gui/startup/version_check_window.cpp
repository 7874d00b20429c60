#include "gui/startup/version_check_window.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/support/qt_text.h"

namespace athup::gui {

VersionCheckWindow::VersionCheckWindow(const app::VersionCheckOutcome& outcome, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("(ORBWS005)版本與訊息檢查"));
  auto* layout = new QVBoxLayout(this);
  addLabel("Label1", qs(outcome.localLine));
  addLabel("Label2", qs(outcome.onlineLine));
  addLabel("Label3", qs(outcome.outcomeLine));
  QLabel* link = addLabel("Label7", qs(outcome.downloadUrl));
  link->setCursor(Qt::PointingHandCursor);
  link->setVisible(!outcome.downloadUrl.empty());
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  const QString address = qs(outcome.downloadUrl);
  link->setText(
      QStringLiteral("<a href=\"%1\" style=\"color: blue;\">%1</a>").arg(address.toHtmlEscaped()));
  // The desktop's default browser opens the download page; the program does not update itself.
  connect(link, &QLabel::linkActivated, this,
          [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
  addLabel("Label4", QStringLiteral("目前無重大訊息公佈。"));
  addLabel("Label8", QStringLiteral("(每月20日~28日不提供版本檢查服務)"));
  auto* close = new QPushButton(QStringLiteral("關閉"), this);
  close->setObjectName(QStringLiteral("btnClose"));
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(close);
}

QLabel* VersionCheckWindow::addLabel(const char* name, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(QString::fromLatin1(name));
  static_cast<QVBoxLayout*>(this->layout())->addWidget(label);
  return label;
}

QLabel* VersionCheckWindow::label(const char* name) const {
  return findChild<QLabel*>(QString::fromLatin1(name));
}

}  // namespace athup::gui
