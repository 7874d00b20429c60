#include "store/queries/attachment_queries.h"

#include <cmath>
#include <string>

#include "common/text_helpers.h"
#include "store/queries/category_types.h"

namespace athup::store {

namespace {

// The first value of a one-row aggregate; SUM over no rows is NULL and reads as 0. FILE_SIZE is
// a number column holding whole byte counts.
std::int64_t firstWholeNumber(const ResultSet& result) {
  if (result.empty() || result.fieldNames().empty()) {
    return 0;
  }
  return static_cast<std::int64_t>(std::llround(result.row(0).front().asNumber()));
}

bool blank(std::string_view text) {
  return common::trimBlanks(text).empty();
}

}  // namespace

std::int64_t AttachmentQueries::fileSizeTotal(std::string_view ban, std::string_view fileSeq,
                                              std::string_view fileTp) {
  if (blank(ban)) {
    return 0;
  }
  std::string sql = "SELECT SUM(FILE_SIZE) TOTAL_SIZE FROM ORBDB_ATH_FILE WHERE BAN = :BAN";
  Params params{{"BAN", std::string(ban)}};
  if (!blank(fileSeq)) {
    sql += " AND FILE_SEQ = :FILE_SEQ";
    params.push_back({"FILE_SEQ", std::string(fileSeq)});
  }
  if (!blank(fileTp)) {
    sql += " AND FILE_TP = :FILE_TP";
    params.push_back({"FILE_TP", std::string(fileTp)});
  }
  return firstWholeNumber(m_orbWin.query(sql, params));
}

std::int64_t AttachmentQueries::fileSizeTotalExcept(std::string_view ban,
                                                    std::string_view fileSeq) {
  if (blank(ban)) {
    return 0;
  }
  return firstWholeNumber(m_orbWin.query(
      "SELECT SUM(FILE_SIZE) TOTAL_SIZE FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_SEQ <> "
      ":FILE_SEQ",
      {{"BAN", std::string(ban)}, {"FILE_SEQ", std::string(fileSeq)}}));
}

std::int64_t AttachmentQueries::fileCount(std::string_view ban, std::string_view fileTp) {
  return firstWholeNumber(m_orbWin.query(
      "SELECT COUNT(*) FILE_COUNT FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_TP = :FILE_TP",
      {{"BAN", std::string(ban)}, {"FILE_TP", std::string(fileTp)}}));
}

std::int64_t AttachmentQueries::rowsWithoutFiles(std::string_view ban, std::string_view type) {
  const std::string table = indexTableOf(type);
  if (table.empty()) {
    return 0;
  }
  // A file row with an empty key would make NOT IN unknown for every index row and hide the
  // rows that lack files, so such rows are left out of the sub-select.
  return firstWholeNumber(m_orbWin.query(
      "SELECT COUNT(*) ROW_COUNT FROM " + table +
          " WHERE BAN = :BAN AND BAN||FILE_SEQ NOT IN "
          "(SELECT BAN||FILE_SEQ FROM ORBDB_ATH_FILE WHERE BAN||FILE_SEQ IS NOT NULL)",
      {{"BAN", std::string(ban)}}));
}

}  // namespace athup::store
