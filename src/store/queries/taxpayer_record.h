#pragma once

#include <string>

namespace athup::store {

// A taxpayer as the taxpayer master holds it. `BAN` is the number that was looked up; every other
// field is the column of the same name, cut to its width in Big5 bytes (see TaxpayerQueries).
struct TaxpayerRecord {
  std::string BAN;            // 8
  std::string VAT_LOSN_X9;    // 9
  std::string VAT_FLG_MODE;   // 1
  std::string TOTAL_PAID_MK;  // 1
  std::string DCRD_MK;        // 1
  std::string PS_TO_HEAD_MK;  // 1
  std::string HEAD_BAN;       // 8
  std::string HSN_CD;         // 1
  std::string BAN_NM_X30;     // 60
};

}  // namespace athup::store
