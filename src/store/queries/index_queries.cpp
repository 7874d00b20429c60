#include "store/queries/index_queries.h"

#include <cmath>
#include <stdexcept>

#include "common/text_helpers.h"
#include "store/catalogue/own_tables.h"
#include "store/queries/category_types.h"

namespace athup::store {

namespace {

std::string requireIndexTable(std::string_view type) {
  std::string table = indexTableOf(type);
  if (table.empty()) {
    throw std::invalid_argument("not an attachment category: " + std::string(type));
  }
  return table;
}

std::int64_t firstWholeNumber(const ResultSet& result) {
  if (result.empty() || result.fieldNames().empty()) {
    return 0;
  }
  return static_cast<std::int64_t>(std::llround(result.row(0).front().asNumber()));
}

std::string insertStatement(const std::string& table, const Params& row) {
  std::string columns;
  std::string values;
  for (const auto& param : row) {
    if (!columns.empty()) {
      columns += ", ";
      values += ", ";
    }
    columns += param.name;
    values += ':' + param.name;
  }
  return "INSERT INTO " + table + " (" + columns + ") VALUES (" + values + ")";
}

}  // namespace

ResultSet IndexQueries::indexRows(std::string_view ban, std::string_view type) {
  return m_orbWin.query(
      "SELECT * FROM " + requireIndexTable(type) + " WHERE BAN = :BAN ORDER BY FILE_SEQ",
      {{"BAN", std::string(ban)}});
}

std::int64_t IndexQueries::indexRowCount(std::string_view ban, std::string_view type) {
  return firstWholeNumber(m_orbWin.query(
      "SELECT COUNT(*) ROW_COUNT FROM " + requireIndexTable(type) + " WHERE BAN = :BAN",
      {{"BAN", std::string(ban)}}));
}

void IndexQueries::replaceCategory(std::string_view ban, std::string_view type,
                                   const std::vector<Params>& rows) {
  const std::string table = requireIndexTable(type);
  Transaction transaction = m_orbWin.transaction({kAthFileTable, table});
  m_orbWin.execute("DELETE FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_TP = :FILE_TP",
                   {{"BAN", std::string(ban)}, {"FILE_TP", std::string(type)}});
  m_orbWin.execute("DELETE FROM " + table + " WHERE BAN = :BAN", {{"BAN", std::string(ban)}});
  if (!rows.empty()) {
    // Every row has the same columns.
    m_orbWin.executeEach(insertStatement(table, rows.front()), rows);
  }
  transaction.commit();
}

void IndexQueries::deleteCategory(std::string_view ban, std::string_view type) {
  replaceCategory(ban, type, {});
}

ResultSet IndexQueries::rowFiles(std::string_view ban, std::string_view fileSeq) {
  return m_orbWin.query(
      "SELECT * FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_SEQ = :FILE_SEQ ORDER BY rowid",
      {{"BAN", std::string(ban)}, {"FILE_SEQ", std::string(fileSeq)}});
}

void IndexQueries::replaceRowFiles(std::string_view ban, std::string_view fileSeq,
                                   std::string_view type, const std::vector<AssignedFile>& files) {
  Transaction transaction = m_orbWin.transaction({kAthFileTable});
  m_orbWin.execute("DELETE FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_SEQ = :FILE_SEQ",
                   {{"BAN", std::string(ban)}, {"FILE_SEQ", std::string(fileSeq)}});
  for (const auto& file : files) {
    m_orbWin.execute(
        "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, SUB_SEQ, FILE_NM, FILE_SUB_NM, FILE_PATH_NM, "
        "FILE_SIZE, FILE_TP, FILE_CRC) VALUES (:BAN, :FILE_SEQ, :SUB_SEQ, :FILE_NM, :FILE_SUB_NM, "
        ":FILE_PATH_NM, :FILE_SIZE, :FILE_TP, :FILE_CRC)",
        {{"BAN", std::string(ban)},
         {"FILE_SEQ", std::string(fileSeq)},
         {"SUB_SEQ", file.subSeq},
         {"FILE_NM", file.fileName},
         {"FILE_SUB_NM", file.extension},
         {"FILE_PATH_NM", file.path},
         {"FILE_SIZE", static_cast<double>(file.size)},
         {"FILE_TP", std::string(type)},
         {"FILE_CRC", file.crc}});
  }
  transaction.commit();
}

void IndexQueries::clearRowFiles(std::string_view ban, std::string_view fileSeq) {
  replaceRowFiles(ban, fileSeq, {}, {});
}

std::int64_t IndexQueries::rowFileCount(std::string_view ban, std::string_view fileSeq) {
  return firstWholeNumber(m_orbWin.query(
      "SELECT COUNT(*) FILE_COUNT FROM ORBDB_ATH_FILE WHERE BAN = :BAN AND FILE_SEQ = :FILE_SEQ",
      {{"BAN", std::string(ban)}, {"FILE_SEQ", std::string(fileSeq)}}));
}

std::vector<std::string> IndexQueries::indexCrcs(std::string_view ban, std::string_view type) {
  const std::string column = crcColumnOf(type);
  ResultSet rows = m_orbWin.query(
      "SELECT DISTINCT " + column + " FROM " + requireIndexTable(type) + " WHERE BAN = :BAN",
      {{"BAN", std::string(ban)}});
  std::vector<std::string> crcs;
  for (rows.first(); !rows.eof(); rows.next()) {
    crcs.push_back(common::trimBlanks(rows.text(column)));
  }
  return crcs;
}

bool IndexQueries::allRowsHaveFiles(std::string_view ban) {
  // File rows without a key would make NOT IN unknown for every index row, so they are left out.
  ResultSet rows = m_orbWin.query(
      "SELECT BAN FROM ORBDB_ATH_T02 WHERE BAN||FILE_SEQ NOT IN (SELECT BAN||FILE_SEQ FROM "
      "ORBDB_ATH_FILE WHERE BAN||FILE_SEQ IS NOT NULL) UNION SELECT BAN FROM ORBDB_ATH_T08 WHERE "
      "BAN||FILE_SEQ NOT IN (SELECT BAN||FILE_SEQ FROM ORBDB_ATH_FILE WHERE BAN||FILE_SEQ IS NOT "
      "NULL)");
  if (ban.empty()) {
    return rows.empty();
  }
  for (rows.first(); !rows.eof(); rows.next()) {
    if (rows.text("BAN") == ban) {
      return false;
    }
  }
  return true;
}

ResultSet IndexQueries::attachedFiles(std::string_view ban, std::string_view type) {
  return m_orbWin.query("SELECT B.FILE_PATH_NM, B.FILE_CRC, B.FILE_SEQ FROM " +
                            requireIndexTable(type) +
                            " A, ORBDB_ATH_FILE B WHERE A.BAN = B.BAN AND A.FILE_SEQ = B.FILE_SEQ "
                            "AND A.BAN = :BAN ORDER BY A.FILE_SEQ, B.rowid",
                        {{"BAN", std::string(ban)}});
}

std::int64_t IndexQueries::fileRowCount(std::string_view ban) {
  return firstWholeNumber(
      m_orbWin.query("SELECT COUNT(*) FILE_COUNT FROM ORBDB_ATH_FILE WHERE BAN = :BAN",
                     {{"BAN", std::string(ban)}}));
}

std::vector<std::string> IndexQueries::typesWithFiles(std::string_view ban) {
  ResultSet rows = m_orbWin.query(
      "SELECT DISTINCT FILE_TP FROM ORBDB_ATH_FILE WHERE BAN = :BAN ORDER BY FILE_TP",
      {{"BAN", std::string(ban)}});
  std::vector<std::string> types;
  for (rows.first(); !rows.eof(); rows.next()) {
    types.push_back(common::trimBlanks(rows.text("FILE_TP")));
  }
  return types;
}

std::string IndexQueries::categoryCodes(std::string_view ban) {
  std::string codes;
  for (const auto& type : typesWithFiles(ban)) {
    if (!codes.empty()) {
      codes += ',';
    }
    codes += categoryCodeOf(type);
  }
  return codes;
}

bool IndexQueries::categoryHasFiles(std::string_view ban, std::string_view type) {
  if (!isCategoryType(type)) {
    return true;
  }
  return firstWholeNumber(m_orbWin.query(
             "SELECT COUNT(*) COUNT_T FROM ORBDB_ATH_FILE WHERE FILE_TP = :FILE_TP AND BAN = :BAN",
             {{"FILE_TP", std::string(type)}, {"BAN", std::string(ban)}})) > 0;
}

std::int64_t IndexQueries::statusLineCount(std::string_view ban, std::string_view code) {
  return firstWholeNumber(m_orbWin.query(
      "SELECT COUNT(*) LINE_COUNT FROM ORBDB1_ATH_STATUS WHERE BAN = :BAN AND FILE_CD = :FILE_CD",
      {{"BAN", std::string(ban)}, {"FILE_CD", std::string(code)}}));
}

}  // namespace athup::store
