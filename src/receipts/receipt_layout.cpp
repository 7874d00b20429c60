#include "receipts/receipt_layout.h"

#include <functional>
#include <string_view>

#include "common/big5.h"

namespace athup::receipts {

namespace {

// Band heights.
constexpr double kPageHeaderHeight = 19.8;
constexpr double kTaxpayerHeight = 31.2;
constexpr double kRowHeight = 9.5;
constexpr double kDetailHeadingHeight = 29.4;
constexpr double kStampHeight = 48.4;
constexpr double kPageFooterHeight = 4.0;

// The boxes of the summary and detail rows span the same width as the taxpayer box.
constexpr double kBoxLeft = 9.8;
constexpr double kBoxRight = 180.5;
constexpr double kSummaryRules[] = {57.4, 99.7, 138.6};
constexpr double kDetailRules[] = {40.0, 97.1, 132.8};

const TextStyle kNormal{};
const TextStyle kTitleStyle{FontFace::Kai, 16, false};
const TextStyle kSmall{FontFace::Kai, 10, false};
const TextStyle kPageNumberStyle{FontFace::Arial, 10, false};
const TextStyle kStampStyle{FontFace::Kai, 9, true};
const TextStyle kStampDateStyle{FontFace::Kai, 11, true};

// The top that centres a line of text of this size in a row of the given height.
double centredTop(double rowTop, double rowHeight, double points) {
  return rowTop + (rowHeight - emMillimetres(points)) / 2;
}

// Draws one band's items at its place on a page (band coordinates are relative to the band's
// left and top edges).
class BandPen {
 public:
  BandPen(ReceiptPage& page, double top) : m_page(page), m_top(top) {}

  void text(double x, double y, std::string text, const TextStyle& style = kNormal,
            Anchor anchor = Anchor::Left, double width = 0) {
    m_page.texts.push_back({kMargin + x, m_top + y, anchor, style, std::move(text), width});
  }
  // A label and its value right after it.
  void labelled(double x, double y, std::string_view label, std::string value,
                double valueWidth = 0) {
    text(x, y, std::string(label));
    const double labelWidth = emMillimetres(kNormal.points) * common::big5Width(label) / 2.0;
    text(x + labelWidth, y, std::move(value), kNormal, Anchor::Left, valueWidth);
  }
  void line(double x1, double y1, double x2, double y2, double pen = 0.2) {
    m_page.lines.push_back({kMargin + x1, m_top + y1, kMargin + x2, m_top + y2, pen});
  }
  void box(double x, double y, double width, double height, double pen = 0.2) {
    m_page.boxes.push_back({kMargin + x, m_top + y, width, height, pen});
  }
  // A row box from y to the band's bottom with the vertical rules of its columns.
  void ruledBox(double y, double height, const double (&rules)[3]) {
    box(kBoxLeft, y, kBoxRight - kBoxLeft, height);
    for (const double x : rules) {
      line(x, y, x, y + height);
    }
  }

 private:
  ReceiptPage& m_page;
  double m_top;
};

// Places bands one below the other, starting a page when the next band does not fit above the
// page footer.
class BandFlow {
 public:
  using Painter = std::function<void(BandPen&)>;

  void place(double height, const Painter& paint) {
    if (m_pages.empty() || m_y + height > kPageHeight - kMargin - kPageFooterHeight) {
      m_pages.emplace_back();
      m_y = kMargin + kPageHeaderHeight;
    }
    BandPen pen(m_pages.back(), m_y);
    paint(pen);
    m_y += height;
  }

  std::vector<ReceiptPage> take() { return std::move(m_pages); }

 private:
  std::vector<ReceiptPage> m_pages;
  double m_y = 0;
};

void pageHeader(ReceiptPage& page, const ReceiptContent& content, std::size_t number,
                std::size_t total) {
  BandPen pen(page, kMargin);
  pen.text(65.6, 2.0, content.title, kTitleStyle);
  pen.labelled(73.0, 10.8, "所屬年月份：", content.periodText);
  pen.text(146.1, 14.3, "第", kSmall);
  pen.text(156.6, 14.3, std::to_string(number), kPageNumberStyle, Anchor::Right);
  pen.text(157.2, 14.3, "頁/共", kSmall);
  pen.text(167.7, 14.3, std::to_string(total), kSmall);
  pen.text(176.5, 14.3, "頁", kSmall);
}

}  // namespace

std::vector<ReceiptPage> layoutReceipt(const ReceiptContent& content) {
  BandFlow flow;

  flow.place(kTaxpayerHeight, [&](BandPen& pen) {
    pen.box(kBoxLeft, 0, kBoxRight - kBoxLeft, kTaxpayerHeight);
    pen.labelled(11.9, 2.6, "統一編號：", content.ban);
    pen.labelled(11.9, 9.5, "營業人名稱：", content.banName, 132.0);
    pen.labelled(11.9, 18.0, "稅籍編號：", content.losn);
    pen.line(kBoxLeft, 23.8, kBoxRight, 23.8);
    for (const double x : kSummaryRules) {
      pen.line(x, 23.8, x, kTaxpayerHeight);
    }
    const double top = centredTop(23.8, kTaxpayerHeight - 23.8, 12);
    pen.text(20.6, top, "上傳附件類別");
    pen.text(71.4, top, "上傳筆數");
    pen.text(111.9, top, "上傳時間");
    pen.text(147.6, top, "本日上傳次數");
  });

  for (const CategoryRow& row : content.categories) {
    flow.place(kRowHeight, [&](BandPen& pen) {
      pen.ruledBox(0, kRowHeight, kSummaryRules);
      const double top = centredTop(0, kRowHeight, 12);
      pen.text(11.1, top, row.label);
      pen.text(96.8, top, row.count, kNormal, Anchor::Right);
      pen.text(118.9, top, row.uploadDate, kNormal, Anchor::Centre);
      pen.text(177.3, top, row.uploadsToday, kNormal, Anchor::Right);
    });
  }

  flow.place(kDetailHeadingHeight, [&](BandPen& pen) {
    pen.box(kBoxLeft, 7.1, kBoxRight - kBoxLeft, kDetailHeadingHeight - 7.1);
    pen.text(80.2, 9.3, "上傳附件明細", kTitleStyle);
    pen.line(kBoxLeft, 17.2, kBoxRight, 17.2);
    for (const double x : kDetailRules) {
      pen.line(x, 17.2, x, kDetailHeadingHeight);
    }
    const double top = centredTop(17.2, kDetailHeadingHeight - 17.2, 12);
    pen.text(12.4, top, "附件類別代碼");
    pen.text(56.9, top, "附件名稱");
    const double sizeCentre = (104.5 + 126.2) / 2;
    const double lineHeight = emMillimetres(12) + 0.6;
    pen.text(sizeCentre, top - lineHeight / 2, "附件大小", kNormal, Anchor::Centre);
    pen.text(sizeCentre, top + lineHeight / 2, "(bytes)", kNormal, Anchor::Centre);
    pen.text(147.9, top, "上傳時間");
  });

  for (const DetailRow& row : content.details) {
    flow.place(kRowHeight, [&](BandPen& pen) {
      pen.ruledBox(0, kRowHeight, kDetailRules);
      const double top = centredTop(0, kRowHeight, 12);
      pen.text(11.6, top, row.fileCd);
      pen.text(41.5, top, row.fileName, kNormal, Anchor::Left, 54.2);
      pen.text(131.2, top, row.fileSize, kNormal, Anchor::Right);
      pen.text(134.4, top, row.uploadedAt);
    });
  }

  flow.place(kStampHeight, [&](BandPen& pen) {
    pen.box(137.3, 13.2, 39.2, 31.2, 0.8);
    constexpr double kInnerLeft = 138.9;
    constexpr double kInnerWidth = 35.7;
    pen.box(kInnerLeft, 14.8, kInnerWidth, 27.8);
    const double centre = kInnerLeft + kInnerWidth / 2;
    pen.text(centre, 16.1, content.ministryLine, kStampStyle, Anchor::Centre);
    pen.text(centre, 19.8, content.officeName, kStampStyle, Anchor::Centre);
    pen.line(kInnerLeft, 25.1, kInnerLeft + kInnerWidth, 25.1);
    pen.text(145.8, 27.0, content.receiptDate, kStampDateStyle);
    pen.line(kInnerLeft, 32.8, kInnerLeft + kInnerWidth, 32.8);
    pen.text(centre, 36.2, "營業稅網路申報收件章", kStampStyle, Anchor::Centre);
  });

  std::vector<ReceiptPage> pages = flow.take();
  for (std::size_t i = 0; i < pages.size(); ++i) {
    pageHeader(pages[i], content, i + 1, pages.size());
  }
  return pages;
}

}  // namespace athup::receipts
