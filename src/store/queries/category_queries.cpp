#include "store/queries/category_queries.h"

namespace athup::store {

std::string CategoryQueries::categoryName(std::string_view code) {
  const ResultSet rows =
      m_orbCode.query("SELECT CODE_NM FROM ORBDB1_ATH_CODE WHERE CODE = :CODE ORDER BY rowid",
                      {{"CODE", std::string(code)}});
  return rows.empty() ? std::string() : rows.text("CODE_NM");
}

}  // namespace athup::store
