#pragma once

#include <vector>

#include "receipts/receipt_layout.h"

namespace athup::receipts {

// Where the receipts of a batch go: the preview, the printer or a PDF file.
class ReceiptOutput {
 public:
  virtual ~ReceiptOutput() = default;
  // One taxpayer's receipt, its pages numbered with their total. A failure raises athup::Error.
  virtual void output(const std::vector<ReceiptPage>& pages) = 0;
};

}  // namespace athup::receipts
