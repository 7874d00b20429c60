#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/engine/database.h"

namespace athup::store {

// The status lines of each taxpayer's last result query (ORBDB1_ATH_STATUS, alias ORBWIN): BAN,
// FILE_CD (columns 7-8 of the line) and STATUS_DATA (the whole line as received, UTF-8 here).
class StatusQueries {
 public:
  explicit StatusQueries(Database& orbWin) : m_orbWin(orbWin) {}

  void deleteStatusLines(std::string_view ban);
  // Does nothing for a blank line.
  void insertStatusLine(std::string_view ban, std::string_view line);
  // Replaces the taxpayer's rows with these lines, in one transaction. Returns the lines that
  // could not be stored (the others are stored all the same).
  std::vector<std::string> storeStatusLines(std::string_view ban,
                                            const std::vector<std::string>& lines);
  // The taxpayer's lines ordered by their full text.
  [[nodiscard]] std::vector<std::string> statusLines(std::string_view ban);

 private:
  Database& m_orbWin;
};

}  // namespace athup::store
