#include "gui/receipts/receipt_printer_output.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "gui/receipts/receipt_painter.h"

namespace athup::gui {

namespace {

std::unique_ptr<QPrinter> a4Printer() {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setFullPage(true);  // the layout measures from the paper's corner
  printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  return printer;
}

}  // namespace

void paintReceipt(QPrinter& printer, const std::vector<receipts::ReceiptPage>& pages) {
  QPainter painter(&printer);
  ReceiptPainter receipt(painter, printer.resolution());
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i > 0) {
      printer.newPage();
    }
    receipt.paintPage(pages[i]);
  }
}

ReceiptPrinterOutput::ReceiptPrinterOutput(QWidget* parent, bool preview)
    : m_parent(parent), m_preview(preview), m_printer(a4Printer()) {}

ReceiptPrinterOutput::~ReceiptPrinterOutput() = default;

void ReceiptPrinterOutput::output(const std::vector<receipts::ReceiptPage>& pages) {
  if (m_preview) {
    QPrintPreviewDialog preview(m_printer.get(), m_parent);
    preview.setWindowTitle(QStringLiteral("預覽列印"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&pages](QPrinter* printer) { paintReceipt(*printer, pages); });
    preview.exec();
    return;
  }
  if (!m_printerChosen) {
    QPrintDialog choice(m_printer.get(), m_parent);
    m_printingCancelled = choice.exec() != QDialog::Accepted;
    m_printerChosen = true;
  }
  if (!m_printingCancelled) {
    paintReceipt(*m_printer, pages);
  }
}

}  // namespace athup::gui
