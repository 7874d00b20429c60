#include "gui/shell/help_text_window.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/big5_text_file.h"
#include "common/errors.h"
#include "gui/support/fonts.h"
#include "gui/support/qt_text.h"

namespace athup::gui {

HelpTextWindow::HelpTextWindow(QWidget* parent)
    : QDialog(parent), m_memo(new QPlainTextEdit(this)), m_close(new QPushButton(this)) {
  setObjectName(QStringLiteral("frmMsgForm"));
  setWindowTitle(QStringLiteral("說明"));
  resize(653, 341);
  m_memo->setReadOnly(true);
  m_memo->setFont(mingFont(13));
  m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  m_close->setText(QStringLiteral("關閉視窗"));
  connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
  auto* strip = new QWidget(this);
  strip->setAutoFillBackground(true);
  QPalette palette = strip->palette();
  palette.setColor(QPalette::Window, QColor(0xA6, 0xCA, 0xF0));  // sky blue
  strip->setPalette(palette);
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->addStretch();
  stripLayout->addWidget(m_close);
  stripLayout->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_memo, 1);
  layout->addWidget(strip);
}

bool HelpTextWindow::loadFile(const std::filesystem::path& path) {
  try {
    m_memo->setPlainText(withLfLineEnds(qs(common::readBig5TextFile(path))));
    return true;
  } catch (const Error&) {
    return false;
  }
}

std::string HelpTextWindow::loadFailureText(const std::string& fileName) {
  return "無法載入附件上傳資料檔填寫說明檔:\"" + fileName + "\"";
}

void HelpTextWindow::showHelpFile(QWidget* parent, Interaction& interaction,
                                  const std::filesystem::path& helpFolder,
                                  const std::string& fileName) {
  HelpTextWindow form(parent);
  if (!form.loadFile(helpFolder / fileName)) {
    interaction.showMessage(MessageKind::Plain, loadFailureText(fileName));
    return;
  }
  form.exec();
}

}  // namespace athup::gui
