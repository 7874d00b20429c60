#include "store/queries/taxpayer_queries.h"

#include <string>

#include "common/big5.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/engine/table_files.h"

namespace athup::store {

std::optional<TaxpayerRecord> TaxpayerQueries::findTaxpayer(std::string_view ban) {
  // The master has no key: with a BAN twice, the first row in table order counts.
  const ResultSet rows = m_orbCode.query(
      "SELECT * FROM \"" + tableFileName(kApplyerFileTable) + "\" WHERE BAN = :BAN ORDER BY rowid",
      {{"BAN", std::string(ban)}});
  if (rows.empty()) {
    return std::nullopt;
  }
  auto field = [&rows](std::string_view name, std::size_t width) {
    return common::cutToBig5Width(rows.text(name), width);
  };
  TaxpayerRecord rec;
  rec.BAN = common::cutToBig5Width(ban, 8);
  rec.VAT_LOSN_X9 = field("VAT_LOSN_X9", 9);
  rec.VAT_FLG_MODE = field("VAT_FLG_MODE", 1);
  rec.TOTAL_PAID_MK = field("TOTAL_PAID_MK", 1);
  rec.DCRD_MK = field("DCRD_MK", 1);
  rec.PS_TO_HEAD_MK = field("PS_TO_HEAD_MK", 1);
  rec.HEAD_BAN = field("HEAD_BAN", 8);
  rec.HSN_CD = field("HSN_CD", 1);
  rec.BAN_NM_X30 = field("BAN_NM_X30", 60);
  return rec;
}

}  // namespace athup::store
