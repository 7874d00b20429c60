#include "upload/media/media_units.h"

#include <algorithm>
#include <set>

namespace athup::upload {

namespace {

constexpr std::size_t kBanLength = 8;

std::vector<std::string> bansOf(store::ResultSet rows) {
  std::vector<std::string> bans;
  for (rows.first(); !rows.eof(); rows.next()) {
    bans.push_back(rows.text("BAN"));
  }
  return bans;
}

}  // namespace

std::vector<std::string> MediaUnits::incompleteBans(store::Database& orbWin) {
  // File rows without a key would make NOT IN unknown for every index row, so they are left out.
  return bansOf(orbWin.query(
      "SELECT BAN FROM ORBDB_ATH_T02 WHERE BAN||FILE_SEQ NOT IN (SELECT BAN||FILE_SEQ FROM "
      "ORBDB_ATH_FILE WHERE BAN||FILE_SEQ IS NOT NULL) UNION SELECT BAN FROM ORBDB_ATH_T08 WHERE "
      "BAN||FILE_SEQ NOT IN (SELECT BAN||FILE_SEQ FROM ORBDB_ATH_FILE WHERE BAN||FILE_SEQ IS NOT "
      "NULL) UNION SELECT BAN FROM ORBDB_ATH_TET WHERE BAN||FILE_SEQ NOT IN (SELECT "
      "BAN||FILE_SEQ FROM ORBDB_ATH_FILE WHERE BAN||FILE_SEQ IS NOT NULL)"));
}

std::vector<std::string> MediaUnits::completeBans(store::Database& orbWin) {
  // The incomplete ones are subtracted here rather than pasted into the statement as a quoted
  // list, so no stored BAN can change the statement.
  const std::vector<std::string> incomplete = incompleteBans(orbWin);
  const std::set<std::string> excluded(incomplete.begin(), incomplete.end());
  std::set<std::string> complete;
  for (const auto& ban : bansOf(orbWin.query(
           "SELECT BAN FROM ORBDB_ATH_T02 UNION SELECT BAN FROM ORBDB_ATH_T08 UNION SELECT BAN "
           "FROM ORBDB_ATH_TET"))) {
    if (!ban.empty() && !excluded.contains(ban)) {
      complete.insert(ban);
    }
  }
  return {complete.begin(), complete.end()};
}

std::string MediaUnits::entryText(std::string_view ban, std::string_view name) {
  return std::string(ban) + "(" + std::string(name) + ")";
}

std::vector<std::string> MediaUnits::entries(store::Database& orbWin, const NameLookup& nameOf) {
  std::vector<std::string> list;
  for (const auto& ban : completeBans(orbWin)) {
    list.push_back(entryText(ban, nameOf ? nameOf(ban) : std::string()));
  }
  std::sort(list.begin(), list.end());
  return list;
}

std::string MediaUnits::banOfEntry(std::string_view entry) {
  // A BAN is eight characters; one stored shorter still ends where its name begins.
  return std::string(entry.substr(0, std::min(kBanLength, entry.find('('))));
}

}  // namespace athup::upload
