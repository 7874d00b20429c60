#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/engine/database.h"

namespace athup::store {

// Lookups in the attachment category table of the code folder (alias ORBCODE).
class CategoryQueries {
 public:
  explicit CategoryQueries(Database& orbCode) : m_orbCode(orbCode) {}

  // CODE_NM of the category ("T02", "T08", "TET"); empty when there is none.
  [[nodiscard]] std::string categoryName(std::string_view code);
  // Every category of the table as (CODE, CODE_NM), in table order, values trimmed.
  [[nodiscard]] std::vector<std::pair<std::string, std::string>> categories();

 private:
  Database& m_orbCode;
};

}  // namespace athup::store
