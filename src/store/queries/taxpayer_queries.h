#pragma once

#include <optional>
#include <string_view>

#include "store/engine/database.h"
#include "store/queries/taxpayer_record.h"

namespace athup::store {

// Lookups in the taxpayer master of the code folder (alias ORBCODE).
class TaxpayerQueries {
 public:
  explicit TaxpayerQueries(Database& orbCode) : m_orbCode(orbCode) {}

  // The taxpayer of the BAN; with the BAN twice in the master, the first row counts.
  [[nodiscard]] std::optional<TaxpayerRecord> findTaxpayer(std::string_view ban);

 private:
  Database& m_orbCode;
};

}  // namespace athup::store
