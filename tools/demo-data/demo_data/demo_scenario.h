#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo_data/filing_lines.h"

namespace athup::demodata {

// One row of the taxpayer master ORBDB1_APPLYER.
struct ApplyerRow {
  std::string BAN;
  std::string BAN_NM_X30;
  std::string VAT_LOSN_X9;
  std::string HSN_CD;
  std::string VAT_FLG_MODE;
  std::string TOTAL_PAID_MK;
  std::string DCRD_MK;
  std::string PS_TO_HEAD_MK;
  std::string HEAD_BAN;
};

// A taxpayer and what the filing program left for the period: the lines of its filing files and,
// when it filed, the record of the return upload.
struct TaxpayerFiling {
  ApplyerRow taxpayer;
  std::vector<T02Line> t02;  // empty: no .T02 file
  std::vector<T08Line> t08;  // empty: no .T08 file
  bool hasTet = false;
  TetRecord tet;
  std::string UPD_SUCCESS_NO;  // set when the return was uploaded
  std::string FLG_DATE_X7;

  bool filed() const { return hasTet || !t02.empty() || !t08.empty(); }
};

struct DemoVersion {
  std::string now;   // hundredths: "105" is 1.05
  std::string date;  // ROC YYYMMDD
};

// Everything the filing program knows for one period, derived only from the seed and the period.
struct Scenario {
  std::string gDataYM;                    // the period the data belongs to
  std::string gApplyYM;                   // the filing month after it
  std::vector<TaxpayerFiling> taxpayers;  // distinct taxpayers
  std::vector<ApplyerRow> applyers;       // master rows in table order; one BAN occurs twice
  DemoVersion version;
};

// Builds the scenario. The period is YYYMM (ROC year 001-999, month 01-12); anything else throws
// athup::Error. The roles are fixed (a taxpayer with every file, one whose zero-rate sales all
// went through customs, one with a fixed-asset list, one with only a return header, one that
// filed nothing, a master row repeating a BAN); names, numbers and line counts follow the seed.
[[nodiscard]] Scenario buildScenario(std::uint64_t seed, const std::string& period);

// Period check shared by the command line: five digits, year from 001, month 01 to 12.
[[nodiscard]] bool isValidPeriod(const std::string& period);

}  // namespace athup::demodata
