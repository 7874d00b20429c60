#include "gui/receipts/receipt_pdf_output.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "common/errors.h"
#include "gui/receipts/receipt_painter.h"

namespace athup::gui {

namespace {

constexpr int kResolution = 1200;

}  // namespace

ReceiptPdfOutput::ReceiptPdfOutput(const QString& path) : m_path(path) {}

ReceiptPdfOutput::~ReceiptPdfOutput() {
  if (m_painter) {
    m_painter->end();
  }
}

void ReceiptPdfOutput::output(const std::vector<receipts::ReceiptPage>& pages) {
  for (const receipts::ReceiptPage& page : pages) {
    if (!m_writer) {
      m_writer = std::make_unique<QPdfWriter>(m_path);
      m_writer->setResolution(kResolution);
      m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
      m_writer->setTitle(QStringLiteral("營業稅網路申報附件上傳收執聯"));
      m_painter = std::make_unique<QPainter>();
      if (!m_painter->begin(m_writer.get())) {
        m_painter.reset();
        throw Error("無法寫入檔案 \"" + m_path.toStdString() + "\"。");
      }
    } else {
      m_writer->newPage();
    }
    ReceiptPainter(*m_painter, kResolution).paintPage(page);
    ++m_pages;
  }
}

int ReceiptPdfOutput::finish() {
  if (m_painter && !m_painter->end()) {
    m_painter.reset();
    throw Error("無法寫入檔案 \"" + m_path.toStdString() + "\"。");
  }
  m_painter.reset();
  m_writer.reset();
  return m_pages;
}

}  // namespace athup::gui
