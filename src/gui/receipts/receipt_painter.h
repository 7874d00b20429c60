#pragma once

#include <vector>

#include "receipts/receipt_layout.h"

class QPainter;

namespace athup::gui {

// Paints receipt pages, laid out in millimetres, on a painter whose device is an A4 page printed
// from its top left corner (a PDF writer without margins, a printer in full-page mode).
class ReceiptPainter {
 public:
  // `dotsPerInch` is the device's resolution; fonts follow it by their point size.
  ReceiptPainter(QPainter& painter, double dotsPerInch);

  void paintPage(const receipts::ReceiptPage& page);

 private:
  [[nodiscard]] double dots(double millimetres) const;

  QPainter& m_painter;
  double m_dotsPerMillimetre;
};

}  // namespace athup::gui
