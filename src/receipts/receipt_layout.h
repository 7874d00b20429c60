#pragma once

#include <string>
#include <vector>

#include "receipts/receipt_content.h"

// Where each text, line and box of a receipt stands on its A4 pages. Every measure is in
// millimetres from the page's top left corner; the painter only draws what is listed here.
namespace athup::receipts {

enum class FontFace {
  Kai,    // 標楷體 (AR PL UKai here)
  Arial,  // the page number
};

struct TextStyle {
  FontFace face = FontFace::Kai;
  double points = 12;
  bool bold = false;

  bool operator==(const TextStyle&) const = default;
};

enum class Anchor {
  Left,    // x is the text's left edge
  Right,   // x is the text's right edge
  Centre,  // x is the text's centre
};

// A text whose top stands at y. A width above 0 clips it at x + width.
struct PlacedText {
  double x = 0;
  double y = 0;
  Anchor anchor = Anchor::Left;
  TextStyle style;
  std::string text;
  double width = 0;
};

struct PlacedLine {
  double x1 = 0;
  double y1 = 0;
  double x2 = 0;
  double y2 = 0;
  double pen = 0.2;
};

struct PlacedBox {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  double pen = 0.2;
};

struct ReceiptPage {
  std::vector<PlacedText> texts;
  std::vector<PlacedLine> lines;
  std::vector<PlacedBox> boxes;
};

inline constexpr double kPageWidth = 210.0;
inline constexpr double kPageHeight = 297.0;
inline constexpr double kMargin = 10.0;
// The width one full-width character takes: an em of the font size.
[[nodiscard]] constexpr double emMillimetres(double points) {
  return points * 25.4 / 72.0;
}

// The receipt on its pages. The page header of every page carries its number and the total:
// the bands are placed first, so the count is known before any page is finished.
[[nodiscard]] std::vector<ReceiptPage> layoutReceipt(const ReceiptContent& content);

}  // namespace athup::receipts
