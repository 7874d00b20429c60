#include "gui/shell/text_viewer.h"

#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/notice/rtf_reader.h"
#include "common/big5_text_file.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/whole_file.h"
#include "gui/dialogs/file_dialog.h"
#include "gui/support/fonts.h"
#include "gui/support/qt_text.h"

namespace athup::gui {
namespace {

QString decodePlain(const std::string& bytes) {
  return withLfLineEnds(qs(common::textFromFileBytes(bytes)));
}

}  // namespace

TextViewer::TextViewer(Interaction& interaction, QWidget* parent)
    : QDialog(parent),
      m_interaction(interaction),
      m_text(new QTextEdit(this)),
      m_toolBar(new QToolBar(this)),
      m_printer(std::make_unique<QPrinter>()) {
  setObjectName(QStringLiteral("frmTextView"));
  resize(800, 487);
  m_text->setObjectName(QStringLiteral("textEditor"));
  m_text->setReadOnly(true);
  m_text->setFont(mingFont(12));
  m_text->setLineWrapMode(QTextEdit::NoWrap);
  m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  QAction* save = m_toolBar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                       QStringLiteral("Save"), this, &TextViewer::onSave);
  save->setToolTip(QStringLiteral("Save Report"));
  save->setObjectName(QStringLiteral("actSave"));
  QAction* open = m_toolBar->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton),
                                       QStringLiteral("Open"), this, &TextViewer::onOpen);
  open->setToolTip(QStringLiteral("Load Report"));
  open->setObjectName(QStringLiteral("actOpen"));
  m_toolBar->addSeparator();
  m_toolBar->addAction(QStringLiteral("列印設定"), this, &TextViewer::onPrintSetup);
  m_toolBar->addAction(QStringLiteral("列印"), this, &TextViewer::onPrint);
  m_toolBar->addSeparator();
  m_toolBar->addAction(QStringLiteral("設定字型"), this, &TextViewer::onFont);
  m_toolBar->addSeparator();
  QAction* close = m_toolBar->addAction(QStringLiteral("關閉預覽&C"), this, &QDialog::close);
  close->setObjectName(QStringLiteral("actClose"));
  // A tool button shows its text without the "&" and takes no mnemonic from it: Alt+C is given
  // as the action's shortcut instead.
  close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_C));
  m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_toolBar);
  layout->addWidget(m_text);
}

TextViewer::~TextViewer() = default;

void TextViewer::load(const std::filesystem::path& path, ViewMode mode) {
  const std::string bytes = common::readWholeFile(path);
  const bool rich = mode == ViewMode::Notice;
  if (rich) {
    if (app::RtfReader::looksLikeRtf(bytes)) {
      m_text->setHtml(qs(app::RtfReader::toHtml(bytes)));
    } else {
      m_text->setPlainText(decodePlain(bytes));
    }
  } else {
    m_text->setPlainText(decodePlain(bytes));
  }
  m_rich = rich;
  m_path = path;
  m_mode = mode;
  const QString prefix = rich ? QStringLiteral("訊息公告 - ") : QStringLiteral("純文字編輯器 - ");
  setWindowTitle(prefix + qs(common::utf8FromPath(path)));
}

void TextViewer::saveTo(const std::filesystem::path& path) const {
  std::string content;
  const QStringList lines = m_text->toPlainText().split(QLatin1Char('\n'));
  for (const QString& line : lines) content += line.toStdString() + "\r\n";
  common::writeBig5TextFile(path, content);
}

void TextViewer::printTo(QPrinter& printer) const {
  printer.setDocName(QString::fromUtf8(kPrintJobTitle));
  std::unique_ptr<QTextDocument> document(m_text->document()->clone());
  document->setDefaultFont(m_text->font());
  document->print(&printer);
}

void TextViewer::setEditorFont(const QFont& font) {
  m_text->setFont(font);
  m_text->document()->setDefaultFont(font);
}

void TextViewer::showEvent(QShowEvent* event) {
  // Shown again, the remembered file is read afresh, so a notice always shows its current text.
  if (!m_path.empty()) {
    try {
      load(m_path, m_mode);
    } catch (const std::exception& error) {
      report(error);
    }
  }
  QDialog::showEvent(event);
}

void TextViewer::onSave() {
  const QString name = FileDialog::saveFileName(this, QString(), QString(), kFileFilter);
  if (name.isEmpty()) return;
  try {
    saveTo(toPath(name));
  } catch (const std::exception& error) {
    report(error);
  }
}

void TextViewer::onOpen() {
  const QString name = FileDialog::openFileName(this, QString(), QString(), kFileFilter);
  if (name.isEmpty()) return;
  try {
    load(toPath(name), ViewMode::PlainText);
  } catch (const std::exception& error) {
    report(error);
  }
}

void TextViewer::onPrintSetup() {
  QPrintDialog dialog(m_printer.get(), this);
  (void)dialog.exec();
}

void TextViewer::onPrint() {
  printTo(*m_printer);
}

void TextViewer::onFont() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, m_text->font(), this);
  if (ok) setEditorFont(font);
}

void TextViewer::report(const std::exception& error) {
  m_interaction.showMessage(MessageKind::Error, error.what());
}

}  // namespace athup::gui
