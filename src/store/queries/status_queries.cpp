#include "store/queries/status_queries.h"

#include "common/errors.h"
#include "common/text_helpers.h"

namespace athup::store {
namespace {

// Columns 7-8 of a status line: the category code.
std::string fileCdOf(std::string_view line) {
  return line.size() > 6 ? std::string(line.substr(6, 2)) : std::string();
}

}  // namespace

void StatusQueries::deleteStatusLines(std::string_view ban) {
  m_orbWin.execute("DELETE FROM ORBDB1_ATH_STATUS WHERE BAN = :BAN", {{"BAN", std::string(ban)}});
}

void StatusQueries::insertStatusLine(std::string_view ban, std::string_view line) {
  if (common::trimBlanks(line).empty()) return;
  m_orbWin.execute(
      "INSERT INTO ORBDB1_ATH_STATUS (BAN, FILE_CD, STATUS_DATA)  VALUES(:BAN, :FILE_CD, "
      ":STATUS_DATA)",
      {{"BAN", std::string(ban)}, {"FILE_CD", fileCdOf(line)}, {"STATUS_DATA", std::string(line)}});
}

std::vector<std::string> StatusQueries::storeStatusLines(std::string_view ban,
                                                         const std::vector<std::string>& lines) {
  std::vector<std::string> refused;
  Transaction transaction = m_orbWin.transaction({"ORBDB1_ATH_STATUS"});
  deleteStatusLines(ban);
  for (const auto& line : lines) {
    try {
      insertStatusLine(ban, line);
    } catch (const Error&) {
      // One line the table cannot hold (too wide, a failing write) is reported by the caller;
      // the other lines are stored all the same.
      refused.push_back(line);
    }
  }
  transaction.commit();
  return refused;
}

std::vector<std::string> StatusQueries::statusLines(std::string_view ban) {
  ResultSet rows =
      m_orbWin.query("SELECT * FROM ORBDB1_ATH_STATUS WHERE BAN = :BAN  ORDER BY STATUS_DATA ",
                     {{"BAN", std::string(ban)}});
  std::vector<std::string> lines;
  for (rows.first(); !rows.eof(); rows.next()) lines.push_back(rows.text("STATUS_DATA"));
  return lines;
}

}  // namespace athup::store
