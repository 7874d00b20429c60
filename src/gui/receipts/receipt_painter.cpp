#include "gui/receipts/receipt_painter.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace athup::gui {

using receipts::Anchor;
using receipts::FontFace;

namespace {

QFont fontFor(const receipts::TextStyle& style) {
  QFont font;
  // 標楷體 where the workstation has it, the free Kai face elsewhere.
  font.setFamilies(style.face == FontFace::Kai
                       ? QStringList{QStringLiteral("DFKai-SB"), QStringLiteral("標楷體"),
                                     QStringLiteral("AR PL UKai TW")}
                       : QStringList{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                     QStringLiteral("DejaVu Sans")});
  font.setPointSizeF(style.points);
  font.setBold(style.bold);
  return font;
}

}  // namespace

ReceiptPainter::ReceiptPainter(QPainter& painter, double dotsPerInch)
    : m_painter(painter), m_dotsPerMillimetre(dotsPerInch / 25.4) {}

double ReceiptPainter::dots(double millimetres) const {
  return millimetres * m_dotsPerMillimetre;
}

void ReceiptPainter::paintPage(const receipts::ReceiptPage& page) {
  m_painter.save();
  m_painter.setBrush(Qt::NoBrush);
  for (const receipts::PlacedBox& box : page.boxes) {
    m_painter.setPen(QPen(Qt::black, dots(box.pen)));
    m_painter.drawRect(QRectF(dots(box.x), dots(box.y), dots(box.width), dots(box.height)));
  }
  for (const receipts::PlacedLine& line : page.lines) {
    m_painter.setPen(QPen(Qt::black, dots(line.pen)));
    m_painter.drawLine(QPointF(dots(line.x1), dots(line.y1)),
                       QPointF(dots(line.x2), dots(line.y2)));
  }
  m_painter.setPen(Qt::black);
  // Wide enough for any text of the receipt; a placed width clips instead.
  const double room = dots(receipts::kPageWidth);
  for (const receipts::PlacedText& text : page.texts) {
    m_painter.setFont(fontFor(text.style));
    const double height = dots(receipts::emMillimetres(text.style.points) * 2);
    const double x = dots(text.x);
    const double y = dots(text.y);
    QRectF rect;
    int flags = Qt::AlignTop | Qt::TextSingleLine;
    switch (text.anchor) {
      case Anchor::Left:
        rect = QRectF(x, y, text.width > 0 ? dots(text.width) : room, height);
        flags |= Qt::AlignLeft;
        break;
      case Anchor::Right:
        rect = QRectF(x - room, y, room, height);
        flags |= Qt::AlignRight;
        break;
      case Anchor::Centre:
        rect = QRectF(x - room / 2, y, room, height);
        flags |= Qt::AlignHCenter;
        break;
    }
    if (text.width > 0) {
      m_painter.save();
      m_painter.setClipRect(rect);
      m_painter.drawText(rect, flags, QString::fromStdString(text.text));
      m_painter.restore();
    } else {
      m_painter.drawText(rect, flags, QString::fromStdString(text.text));
    }
  }
  m_painter.restore();
}

}  // namespace athup::gui
