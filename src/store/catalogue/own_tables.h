#pragma once

#include <array>
#include <filesystem>
#include <string_view>
#include <vector>

#include "common/clock.h"
#include "store/catalogue/table_definition.h"
#include "store/engine/database.h"

// The program's own tables in the period database folder (alias ORBWIN): the attachment index
// per category, the assigned attachment files and the upload status lines. They are created when
// missing and older copies are migrated.
namespace athup::store {

inline constexpr std::string_view kAthFileTable = "ORBDB_ATH_FILE";
inline constexpr std::string_view kAthT02Table = "ORBDB_ATH_T02";
inline constexpr std::string_view kAthT08Table = "ORBDB_ATH_T08";
inline constexpr std::string_view kAthStatusTable = "ORBDB1_ATH_STATUS";
inline constexpr std::string_view kAthTetTable = "ORBDB_ATH_TET";

// The five own period tables in the order they are created and checked; the selector of
// createOwnTable for the i-th is 'A' + i.
inline constexpr std::array<std::string_view, 5> kOwnPeriodTables = {
    kAthFileTable, kAthT02Table, kAthT08Table, kAthStatusTable, kAthTetTable};

// Full current definitions, CRC columns included.
[[nodiscard]] const TableDefinition& ownTableDefinition(std::string_view table);

// Where createOwnTable reports that it ran.
struct CatalogueLog {
  std::filesystem::path runLogFile;
  const Clock& clock;
};

// Creates one own table: 'A' ORBDB_ATH_FILE, 'B' ORBDB_ATH_T02 (without T02_CRC), 'C'
// ORBDB_ATH_T08 (without T08_CRC), 'D' ORBDB1_ATH_STATUS, 'E' ORBDB_ATH_TET (with TET_CRC).
// "End of CreateTable" goes to the run log afterwards, also when the statement failed. A failure
// leaves the table file missing and returns false; the caller's file check reports it. An
// unknown selector throws std::invalid_argument.
[[nodiscard]] bool createOwnTable(Database& orbWin, char selector, const CatalogueLog& log);

// Migrations: adds T02_CRC / T08_CRC (CHAR(20), empty for existing rows) when the table lacks it.
// A failing ALTER TABLE raises athup::Error.
void addT02Crc(Database& orbWin);
void addT08Crc(Database& orbWin);

// The period part of the environment preparation: creates each missing own table in order (a
// file left without its table counts as missing) and returns the files of the tables still
// missing afterwards, in the same order; the flow reports each one and goes on.
[[nodiscard]] std::vector<std::filesystem::path> preparePeriodTables(Database& orbWin,
                                                                     const CatalogueLog& log);

// The migrations of the index tables that exist (a missing one has nothing to migrate); run
// after the missing tables were reported. A failing ALTER TABLE raises athup::Error.
void migrateOwnTables(Database& orbWin);

}  // namespace athup::store
