#pragma once

#include <cstdint>
#include <map>
#include <string>

// The lines of the filing files, as the filing program knows them before it writes them. Member
// names are the field names of the filing formats; texts are UTF-8.
namespace athup::demodata {

// One line of BAN.T02: a zero-rated sale.
struct T02Line {
  std::string BAN;
  std::string HSN_CD;
  std::string VAT_LOSN_X9;
  std::string DATA_YYMM_X5;
  std::string INVO_YM;
  std::string INVO_TRACK;
  std::string BUYER_BAN;
  std::string EXPORT_MODE;
  std::string PCTS_MODE;  // "1": not cleared through customs, needs evidence
  std::string BILL_OF_SIGHT_TP;
  std::string BILL_OF_SIGHT_NO;
  std::int64_t ZTX_S_AMT = 0;
  std::string FGN_EXCH_DATE;
};

// One line of BAN.T08: a fixed asset on the refund list.
struct T08Line {
  std::string BL_YR;
  std::string BL_MM;
  std::string HSN_CD;
  std::string BAN;
  std::string VAT_LOSN_X9;
  std::string INVO_DATE;
  std::string INVO_TRACK_NO;
  std::string FA_REF_NM;
  std::int64_t FA_REF_QTY = 0;
  std::int64_t FA_REF_AMT = 0;  // signed zoned in the file
  std::int64_t FA_REF_TAX = 0;  // signed zoned in the file
  std::string UES_NM;
  // Positive amounts may carry their sign in the last character ("{", "A".."I") or be plain digits;
  // the filing program writes both, so readers must take both.
  bool signedPositive = false;
};

// The return header BAN.TET: texts by field name and amounts by field name. Fields not given are
// written as their format's empty value (zeros, or blanks for the declarant texts).
struct TetRecord {
  std::map<std::string, std::string> texts;
  std::map<std::string, std::int64_t> amounts;
};

}  // namespace athup::demodata
