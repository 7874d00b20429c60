#include "store/queries/category_queries.h"

#include "common/text_helpers.h"

namespace athup::store {

std::string CategoryQueries::categoryName(std::string_view code) {
  const ResultSet rows =
      m_orbCode.query("SELECT CODE_NM FROM ORBDB1_ATH_CODE WHERE CODE = :CODE ORDER BY rowid",
                      {{"CODE", std::string(code)}});
  return rows.empty() ? std::string() : rows.text("CODE_NM");
}

std::vector<std::pair<std::string, std::string>> CategoryQueries::categories() {
  ResultSet rows = m_orbCode.query("SELECT CODE, CODE_NM FROM ORBDB1_ATH_CODE ORDER BY rowid");
  std::vector<std::pair<std::string, std::string>> result;
  for (rows.first(); !rows.eof(); rows.next()) {
    result.emplace_back(common::trimBlanks(rows.text("CODE")),
                        common::trimBlanks(rows.text("CODE_NM")));
  }
  return result;
}

}  // namespace athup::store
