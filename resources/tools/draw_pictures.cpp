// Draws the delivery pictures: the two workflow pictures, whose boxes lie under the click areas of
// the workflow window, and the program icon. Run once after a change and commit the results:
//   QT_QPA_PLATFORM=offscreen athup-draw-pictures resources/
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <cmath>
#include <cstdio>

#include "gui/shell/flow_areas.h"

namespace {

// Each box lies where the workflow window lays its click area.
using athup::gui::FlowStep;
using athup::gui::flowArea;
const QRect kEntry = flowArea(FlowStep::Entry).rect;
const QRect kUpload = flowArea(FlowStep::Upload).rect;
const QRect kResult = flowArea(FlowStep::Result).rect;
const QRect kMedia = flowArea(FlowStep::Media).rect;
const QRect kExit = flowArea(FlowStep::Close).rect;

const QColor kInk(0x1f, 0x3a, 0x68);

QFont kai(int pixels, bool bold = false) {
  QFont font(QStringLiteral("AR PL UKai TW"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

void box(QPainter& p, const QRect& r, const QColor& fill, const QString& step, const QString& name) {
  p.setPen(QPen(kInk, 2));
  p.setBrush(fill);
  p.drawRoundedRect(r, 8, 8);
  p.setPen(kInk);
  if (step.isEmpty()) {
    p.setFont(kai(22, true));
    p.drawText(r, Qt::AlignCenter, name);
    return;
  }
  p.setFont(kai(15, true));
  p.drawText(r.adjusted(0, 4, 0, -r.height() / 2), Qt::AlignCenter, step);
  p.setFont(kai(16));
  p.drawText(r.adjusted(0, r.height() / 2 - 2, 0, -3), Qt::AlignCenter, name);
}

void arrow(QPainter& p, QPointF from, QPointF to) {
  p.setPen(QPen(kInk, 3));
  p.drawLine(from, to);
  const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
  const double spread = 0.45;
  const double length = 14;
  QPainterPath head;
  head.moveTo(to);
  head.lineTo(to.x() - length * std::cos(angle - spread), to.y() - length * std::sin(angle - spread));
  head.lineTo(to.x() - length * std::cos(angle + spread), to.y() - length * std::sin(angle + spread));
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawPath(head);
}

QImage flow(bool fromV4) {
  QImage image(720, 300, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  p.setPen(kInk);
  p.setFont(kai(24, true));
  p.drawText(QRect(20, 4, 680, 34), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("營業稅申報附件上傳流程"));

  const QColor stepOne(0xdd, 0xee, 0xff);
  const QColor stepTwo(0xe2, 0xf5, 0xdc);
  const QColor stepThree(0xff, 0xf1, 0xcc);
  box(p, kEntry, stepOne, QStringLiteral("步驟一"), QStringLiteral("附件資料登錄"));
  box(p, kUpload, stepTwo, QStringLiteral("步驟二"), QStringLiteral("附件資料上傳"));
  box(p, kMedia, stepTwo, QStringLiteral("步驟二"), QStringLiteral("媒體檔申報"));
  box(p, kResult, stepThree, QStringLiteral("步驟三"), QStringLiteral("附件上傳結果查詢"));
  box(p, kExit, QColor(0xe6, 0xe6, 0xe6), QString(), QStringLiteral("離開"));

  // Step one leads to either way of filing; an online upload is followed by the result query.
  arrow(p, QPointF(kEntry.right() + 4, kEntry.center().y() - 8),
        QPointF(kUpload.left() - 6, kUpload.center().y()));
  arrow(p, QPointF(kEntry.right() + 4, kEntry.center().y() + 8),
        QPointF(kMedia.left() - 6, kMedia.center().y()));
  arrow(p, QPointF(kUpload.right() + 4, kUpload.center().y()),
        QPointF(kResult.left() - 6, kResult.center().y()));

  p.setPen(kInk);
  p.setFont(kai(13));
  p.drawText(QRect(160, 60, 150, 20), Qt::AlignCenter, QStringLiteral("線上申報"));
  p.drawText(QRect(160, 184, 150, 20), Qt::AlignCenter, QStringLiteral("媒體申報"));

  p.setFont(kai(15));
  p.drawText(QRect(20, 228, 680, 24), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("請按照箭頭之指向為順序，執行步驟一至步驟三（點選方框即可進入該作業）"));
  p.setFont(kai(13));
  p.drawText(QRect(20, 254, 680, 22), Qt::AlignLeft | Qt::AlignVCenter,
             fromV4 ? QStringLiteral("108年1月1日起適用：附件總容量以10MB為限，上傳後請查詢處理結果並列印回執聯。")
                    : QStringLiteral("107年12月31日以前適用：附件總容量以10MB為限，上傳後請查詢處理結果。"));
  return image;
}

QImage icon() {
  QImage image(256, 256, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x4e, 0x8c));
  p.drawRoundedRect(QRectF(12, 12, 232, 232), 40, 40);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(64, 92, 128, 124), 8, 8);
  p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 8, Qt::SolidLine, Qt::RoundCap));
  for (int y = 168; y <= 196; y += 14) p.drawLine(84, y, 172, y);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf2, 0xb1, 0x34));
  const QPointF up[7] = {{128, 30}, {186, 88}, {150, 88}, {150, 150}, {106, 150}, {106, 88},
                         {70, 88}};
  p.drawPolygon(up, 7);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: athup-draw-pictures OUTPUT-FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
  const bool ok = flow(false).save(folder + QStringLiteral("ORBATH-flow.jpg"), "JPG", 92) &&
                  flow(true).save(folder + QStringLiteral("ORBATH-flow_V4.jpg"), "JPG", 92) &&
                  icon().save(folder + QStringLiteral("athup.png"), "PNG");
  if (!ok) std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
  return ok ? 0 : 1;
}
