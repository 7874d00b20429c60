#pragma once

#include <memory>
#include <vector>

#include "receipts/receipt_output.h"

class QPrinter;
class QWidget;

namespace athup::gui {

// Shows each receipt in the print preview, or sends it to a printer chosen once per batch.
class ReceiptPrinterOutput final : public receipts::ReceiptOutput {
 public:
  ReceiptPrinterOutput(QWidget* parent, bool preview);
  ~ReceiptPrinterOutput() override;
  ReceiptPrinterOutput(const ReceiptPrinterOutput&) = delete;
  ReceiptPrinterOutput& operator=(const ReceiptPrinterOutput&) = delete;

  void output(const std::vector<receipts::ReceiptPage>& pages) override;

 private:
  QWidget* m_parent;
  bool m_preview;
  std::unique_ptr<QPrinter> m_printer;
  bool m_printerChosen = false;
  bool m_printingCancelled = false;
};

// Paints the pages on the printer, each on its own sheet, from the paper's corner.
void paintReceipt(QPrinter& printer, const std::vector<receipts::ReceiptPage>& pages);

}  // namespace athup::gui
