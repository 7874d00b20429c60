#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "receipts/receipt_output.h"

class QPainter;
class QPdfWriter;

namespace athup::gui {

// Writes every receipt of a batch into one PDF file, one after the other, each on new pages.
// Needs a QGuiApplication (the offscreen platform will do).
class ReceiptPdfOutput final : public receipts::ReceiptOutput {
 public:
  explicit ReceiptPdfOutput(const QString& path);
  ~ReceiptPdfOutput() override;
  ReceiptPdfOutput(const ReceiptPdfOutput&) = delete;
  ReceiptPdfOutput& operator=(const ReceiptPdfOutput&) = delete;

  void output(const std::vector<receipts::ReceiptPage>& pages) override;
  // Ends the file; raises athup::Error when it could not be written. Returns the pages written.
  int finish();

 private:
  QString m_path;
  std::unique_ptr<QPdfWriter> m_writer;
  std::unique_ptr<QPainter> m_painter;
  int m_pages = 0;
};

}  // namespace athup::gui
