#include "demo_data/filing_records.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/big5.h"
#include "common/errors.h"
#include "common/number_helpers.h"

namespace athup::demodata {
namespace {

TEST(SignedZoned, KnownForms) {
  struct Case {
    std::int64_t value;
    std::size_t width;
    bool signedPositive;
    const char* text;
  };
  const Case cases[] = {
      {-12340, 8, false, "0001234}"},
      {-12341, 8, false, "0001234J"},
      {-12349, 8, true, "0001234R"},
      {12341, 8, true, "0001234A"},
      {12345, 8, false, "00012345"},
      {12340, 8, true, "0001234{"},
      {-121, 12, false, "00000000012J"},
      {120, 12, true, "00000000012{"},
      {0, 1, true, "{"},
      {0, 1, false, "0"},
      {-7, 1, false, "P"},
      {999999999, 10, false, "0999999999"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(signedZoned(c.value, c.width, c.signedPositive), c.text) << c.value;
  }
  EXPECT_THROW((void)signedZoned(12345678901, 10, false), Error);
}

// The program's own reader must give back every value the filing program writes.
TEST(SignedZoned, ReadsBackThroughTheFilingFileDecoder) {
  for (std::int64_t value = -1050; value <= 1050; value += 7) {
    for (bool signedPositive : {false, true}) {
      const auto decoded = common::decodeSignedNumber(signedZoned(value, 12, signedPositive));
      EXPECT_EQ(decoded.value, value);
      EXPECT_TRUE(decoded.warning.empty());
    }
  }
}

T02Line sampleT02() {
  T02Line line;
  line.BAN = "04595257";
  line.HSN_CD = "A";
  line.VAT_LOSN_X9 = "123456789";
  line.DATA_YYMM_X5 = "11310";
  line.INVO_YM = "11309";
  line.INVO_TRACK = "AB12345678";
  line.EXPORT_MODE = "2";
  line.PCTS_MODE = "1";
  line.BILL_OF_SIGHT_TP = "D1";
  line.BILL_OF_SIGHT_NO = "FX0123456789";
  line.ZTX_S_AMT = 12345;
  line.FGN_EXCH_DATE = "1130915";
  return line;
}

TEST(FilingRecords, T02FieldsSitAtTheirPositions) {
  const std::string record = formatT02Record(sampleT02());
  ASSERT_EQ(record.size(), kT02RecordWidth);
  // 1-based start and width of each field, as the import reads them
  EXPECT_EQ(record.substr(0, 8), "04595257");
  EXPECT_EQ(record.substr(8, 1), "A");
  EXPECT_EQ(record.substr(18, 5), "11310");
  EXPECT_EQ(record.substr(28, 10), "AB12345678");
  EXPECT_EQ(record.substr(38, 8), "        ");  // no buyer BAN
  EXPECT_EQ(record.substr(47, 1), "1");         // PCTS_MODE at 48
  EXPECT_EQ(record.substr(50, 14), "FX0123456789  ");
  EXPECT_EQ(record.substr(64, 12), "000000012345");
  EXPECT_EQ(record.substr(76, 7), "1130915");
  EXPECT_EQ(record.substr(83), "\r\n");
}

TEST(FilingRecords, T08ChineseTextIsBig5PaddedByBytes) {
  T08Line line;
  line.BL_YR = "113";
  line.BL_MM = "10";
  line.HSN_CD = "E";
  line.BAN = "04595257";
  line.VAT_LOSN_X9 = "987654321";
  line.INVO_DATE = "1131003";
  line.INVO_TRACK_NO = "CD87654321";
  line.FA_REF_NM = "筆記型電腦";
  line.FA_REF_QTY = 3;
  line.FA_REF_AMT = -12341;
  line.FA_REF_TAX = 617;
  line.UES_NM = "供業務部門外勤人員使用";
  line.signedPositive = true;
  const std::string record = formatT08Record(line);
  ASSERT_EQ(record.size(), kT08RecordWidth);
  EXPECT_EQ(record.substr(0, 5), "11310");
  EXPECT_EQ(record.substr(6, 8), "04595257");
  EXPECT_EQ(record.substr(23, 7), "1131003");
  EXPECT_EQ(common::big5ToUtf8(record.substr(44, 150)), "筆記型電腦" + std::string(140, ' '));
  EXPECT_EQ(record.substr(194, 12), "000000000003");
  EXPECT_EQ(record.substr(206, 12), "00000001234J");
  EXPECT_EQ(record.substr(218, 10), "000000061G");
  EXPECT_EQ(common::big5ToUtf8(record.substr(228, 300)),
            "供業務部門外勤人員使用" + std::string(278, ' '));
  EXPECT_EQ(record.substr(528), "\r\n");
}

TEST(FilingRecords, TetKeepsTheFieldsTheImportReads) {
  TetRecord tet;
  tet.texts = {{"DATA_TP", "1"}, {"BAN", "04595257"},          {"DATA_YYMM_X5", "11310"},
               {"FLG_TMS", "1"}, {"VAT_LOSN_X9", "123456789"}, {"TOTAL_PAID_MK", "N"},
               {"HSN_CD", "F"},  {"DECLNT", "王小明"}};
  tet.amounts = {{"VEV3_TXL_S_AMT", 1234567}, {"SP_BK_5_TAX", 42}};
  const std::string record = formatTetRecord(tet);
  ASSERT_EQ(record.size(), kTetRecordWidth);
  EXPECT_EQ(record.substr(0, 1), "1");
  EXPECT_EQ(record.substr(1, 10), "0000000000");  // SPACE1 and the agent number, zero-filled
  EXPECT_EQ(record.substr(11, 8), "04595257");
  EXPECT_EQ(record.substr(19, 5), "11310");
  EXPECT_EQ(record.substr(24, 1), "1");
  EXPECT_EQ(record.substr(25, 9), "123456789");
  EXPECT_EQ(record.substr(39, 1), "N");
  EXPECT_EQ(record.substr(56, 12), "000001234567");
  EXPECT_EQ(record.substr(1074, 1), "F");
  EXPECT_EQ(common::big5ToUtf8(record.substr(1092, 12)), "王小明      ");
  EXPECT_EQ(record.substr(1252, 10), "0000000042");
  EXPECT_EQ(record.substr(1266), "\r\n");
}

TEST(FilingRecords, ValuesThatDoNotFitAreRefused) {
  T02Line tooLong = sampleT02();
  tooLong.INVO_TRACK = "AB123456789";
  EXPECT_THROW((void)formatT02Record(tooLong), Error);
  T08Line wide;
  wide.FA_REF_NM = std::string(74, 'x') + "電腦";  // 78 bytes fit; 151 would not
  EXPECT_NO_THROW((void)formatT08Record(wide));
  wide.FA_REF_NM = std::string(149, 'x') + "電";
  EXPECT_THROW((void)formatT08Record(wide), Error);
  TetRecord misspelt;
  misspelt.amounts = {{"VEV3_TXL_S_AMOUNT", 1}};
  EXPECT_THROW((void)formatTetRecord(misspelt), Error);
}

}  // namespace
}  // namespace athup::demodata
