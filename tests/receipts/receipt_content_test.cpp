#include "receipts/receipt_content.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "receipts/receipt_layout.h"
#include "receipts/receipt_texts.h"
#include "status_line_maker.h"

namespace athup::receipts {
namespace {

using athup::testing::statusLine;

TEST(ReceiptTexts, SizesFollowTheGroupedPattern) {
  const struct {
    const char* field;
    const char* shown;
  } cases[] = {
      {"00000000000001234567", "1,234,567"},
      {"0001234567", "1,234,567"},
      {"12AB", "0"},
      {"", "0"},
      {"   ", "0"},
      {"0x10", "0"},
      {"00000000000000000999", "999"},
      {"1000", "1,000"},
      {"999.5", "1,000"},
      {"  42  ", "42"},
      {"12345678901234567890", "12,345,678,901,234,567,890"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatSize(c.field), c.shown) << c.field;
  }
}

TEST(ReceiptTexts, PeriodAndDates) {
  EXPECT_EQ(periodText("10203"), "102年03月");
  EXPECT_EQ(periodText("10211"), "102年11月");
  EXPECT_EQ(rocSlashDate("20240520143015"), "113/05/20");
  EXPECT_EQ(rocSlashDate("    0520143015"), "");
  EXPECT_EQ(stampDate("20240521"), "113.05.21");
  EXPECT_EQ(stampDate("19990102"), " 88.01.02");  // the year right-aligned in three places
  EXPECT_EQ(stampDate(""), "");
}

TEST(ReceiptTexts, OfficeNamesByCodeAndNaming) {
  const struct {
    const char* code;
    bool newer;
    const char* name;
  } cases[] = {
      {"A", true, "臺北國稅局"},
      {"A", false, "臺北市國稅局"},
      {"E", true, "高雄國稅局"},
      {"E", false, "高雄市國稅局"},
      {"Z", true, "北區國稅局"},
      {"C", false, "臺灣省北區國稅局"},
      {"P", true, "中區國稅局"},
      {"K", false, "臺灣省中區國稅局"},
      {"X", true, "南區國稅局"},
      {"D", false, "臺灣省南區國稅局"},
      {"fdc", true, "財政資訊中心"},
      {"fdc", false, "財稅資料中心"},
      {"Y", true, ""},
      {"", true, ""},
      {"AB", true, ""},
      {"a", true, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(officeName(c.code, c.newer), c.name) << c.code << ' ' << c.newer;
  }
}

ReceiptInputs twoCategoryInputs() {
  ReceiptInputs inputs;
  inputs.header.ban = "12345675";
  inputs.header.uploadsCounted = "003";
  inputs.statusLines = {
      statusLine("02", "A001", "pdf", "00000000000001234567", "20240520143015", "20240521093000"),
      statusLine("02", "A002", "jpg", "not a size", "20240520143016", "20240522093000"),
      statusLine("02", "12345675_02", "xml", "00000000000000000800", "20240520143017"),
      statusLine("14", "B  001 ", "tif", "00000000000000000001", "20240519080000",
                 "20240523100000"),
  };
  inputs.taxpayer = store::TaxpayerRecord{};
  inputs.taxpayer->BAN_NM_X30 = "大同商行";
  inputs.taxpayer->VAT_LOSN_X9 = "123456789";
  inputs.hsnCd = "B";
  inputs.applyYM = "10112";
  inputs.todayYYYYMMDD = "20130105";
  return inputs;
}

TEST(ReceiptContent, CategoryRowsCountTheirLinesAndTheStampTakesTheLastCategory) {
  const ReceiptContent content = buildReceiptContent(twoCategoryInputs());
  EXPECT_EQ(content.ban, "12345675");
  EXPECT_EQ(content.banName, "大同商行");
  EXPECT_EQ(content.losn, "123456789");
  EXPECT_EQ(content.periodText, "101年12月");
  ASSERT_EQ(content.categories.size(), 2U);
  EXPECT_EQ(content.categories[0].label, "02：零稅率非經海關");
  EXPECT_EQ(content.categories[0].count, "3");
  EXPECT_EQ(content.categories[0].uploadDate, "113/05/20");
  EXPECT_EQ(content.categories[0].uploadsToday, "003");
  EXPECT_EQ(content.categories[1].label, "14：納保法聲明書");
  EXPECT_EQ(content.categories[1].count, "1");
  EXPECT_EQ(content.categories[1].uploadDate, "113/05/19");
  EXPECT_EQ(content.categories[1].uploadsToday, "003");
  EXPECT_EQ(content.officeName, "中區國稅局");
  EXPECT_EQ(content.ministryLine, "財　政　部");
  EXPECT_EQ(content.receiptDate, "113.05.23");

  ASSERT_EQ(content.details.size(), 4U);
  EXPECT_EQ(content.details[0].fileCd, "02");
  EXPECT_EQ(content.details[0].fileName, "A001.pdf");
  EXPECT_EQ(content.details[0].fileSize, "1,234,567");
  EXPECT_EQ(content.details[0].uploadedAt, "2024/05/20 14:30:15");
  EXPECT_EQ(content.details[1].fileSize, "0");
  EXPECT_EQ(content.details[2].fileName, "12345675_02.xml");
  EXPECT_EQ(content.details[3].fileName, "B  001.tif");  // trimmed, inner blanks kept
}

TEST(ReceiptContent, OlderOfficeNamesAndAnUnknownTaxpayer) {
  ReceiptInputs inputs = twoCategoryInputs();
  inputs.applyYM = "10111";
  inputs.taxpayer.reset();
  const ReceiptContent content = buildReceiptContent(inputs);
  EXPECT_EQ(content.officeName, "臺灣省中區國稅局");
  EXPECT_EQ(content.banName, "");
  EXPECT_EQ(content.losn, "");
  EXPECT_EQ(content.ban, "12345675");  // from the file's header record

  inputs.applyYM = "10112";
  inputs.todayYYYYMMDD = "20121231";
  EXPECT_EQ(buildReceiptContent(inputs).officeName, "臺灣省中區國稅局");
}

TEST(ReceiptContent, NoLinesGiveNoRowsAndNoStampDate) {
  ReceiptInputs inputs = twoCategoryInputs();
  inputs.statusLines.clear();
  const ReceiptContent content = buildReceiptContent(inputs);
  EXPECT_TRUE(content.categories.empty());
  EXPECT_TRUE(content.details.empty());
  EXPECT_EQ(content.receiptDate, "");
}

// The texts of a page that read exactly `text`.
std::vector<PlacedText> textsReading(const ReceiptPage& page, const std::string& text) {
  std::vector<PlacedText> found;
  for (const PlacedText& placed : page.texts) {
    if (placed.text == text) {
      found.push_back(placed);
    }
  }
  return found;
}

ReceiptContent contentWithDetails(std::size_t details) {
  ReceiptInputs inputs = twoCategoryInputs();
  inputs.statusLines.clear();
  for (std::size_t i = 0; i < details; ++i) {
    inputs.statusLines.push_back(statusLine(i < details / 2 ? "02" : "08",
                                            "F" + std::to_string(1000 + i), "pdf", "100",
                                            "20240520143015"));
  }
  return buildReceiptContent(inputs);
}

TEST(ReceiptLayout, EveryPageCarriesItsNumberAndTheTotal) {
  const struct {
    std::size_t details;
    std::size_t pages;
  } cases[] = {{0, 1}, {4, 1}, {18, 2}, {50, 3}};
  for (const auto& c : cases) {
    const std::vector<ReceiptPage> pages = layoutReceipt(contentWithDetails(c.details));
    ASSERT_EQ(pages.size(), c.pages) << c.details;
    std::size_t rows = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const auto number = textsReading(pages[i], std::to_string(i + 1));
      const auto total = textsReading(pages[i], std::to_string(c.pages));
      ASSERT_FALSE(number.empty());
      EXPECT_EQ(textsReading(pages[i], "第").size(), 1U);
      // The number ends at 156.6 mm, the total starts at 167.7 mm (10 mm margin added).
      EXPECT_TRUE(std::any_of(number.begin(), number.end(), [](const PlacedText& t) {
        return t.anchor == Anchor::Right && t.x == 166.6 && t.style.face == FontFace::Arial;
      }));
      EXPECT_TRUE(std::any_of(total.begin(), total.end(),
                              [](const PlacedText& t) { return t.x == 177.7; }));
      rows += textsReading(pages[i], "100").size();
      for (const PlacedText& text : pages[i].texts) {
        EXPECT_LE(text.y + emMillimetres(text.style.points), kPageHeight - kMargin - 4.0);
      }
    }
    EXPECT_EQ(rows, c.details);  // every detail row printed once
    EXPECT_EQ(textsReading(pages.back(), "營業稅網路申報收件章").size(), 1U);
  }
}

TEST(ReceiptLayout, KeyTextsStandAtTheirPlaces) {
  const std::vector<ReceiptPage> pages = layoutReceipt(buildReceiptContent(twoCategoryInputs()));
  ASSERT_EQ(pages.size(), 1U);
  const ReceiptPage& page = pages[0];
  const struct {
    const char* text;
    double x;
    double y;
  } cases[] = {
      {"所屬年月份：", 83.0, 20.8},  // page header
      {"第", 156.1, 24.3},
      {"統一編號：", 21.9, 32.4},  // taxpayer box below the 19.8 mm page header
      {"營業人名稱：", 21.9, 39.3},
      {"稅籍編號：", 21.9, 47.8},
  };
  for (const auto& c : cases) {
    const auto found = textsReading(page, c.text);
    ASSERT_EQ(found.size(), 1U) << c.text;
    EXPECT_NEAR(found[0].x, c.x, 1e-9) << c.text;
    EXPECT_NEAR(found[0].y, c.y, 1e-9) << c.text;
  }
  // The value follows its label: five full-width characters at 12 points.
  const auto ban = textsReading(page, "12345675");
  ASSERT_EQ(ban.size(), 1U);
  EXPECT_NEAR(ban[0].x, 21.9 + 5 * emMillimetres(12), 1e-9);
  // The category count ends at 96.8 mm, the size of a detail row at 131.2 mm.
  const auto count = textsReading(page, "3");
  ASSERT_EQ(count.size(), 1U);
  EXPECT_EQ(count[0].anchor, Anchor::Right);
  EXPECT_NEAR(count[0].x, 106.8, 1e-9);
  const auto size = textsReading(page, "1,234,567");
  ASSERT_EQ(size.size(), 1U);
  EXPECT_NEAR(size[0].x, 141.2, 1e-9);
  // The stamp: the office name centred in the inner box, the date in bold 11 points.
  const auto office = textsReading(page, "中區國稅局");
  ASSERT_EQ(office.size(), 1U);
  EXPECT_EQ(office[0].anchor, Anchor::Centre);
  EXPECT_TRUE(office[0].style.bold);
  const auto date = textsReading(page, "113.05.23");
  ASSERT_EQ(date.size(), 1U);
  EXPECT_EQ(date[0].style, (TextStyle{FontFace::Kai, 11, true}));
}

}  // namespace
}  // namespace athup::receipts
