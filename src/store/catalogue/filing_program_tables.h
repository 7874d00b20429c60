#pragma once

#include <string_view>
#include <vector>

#include "store/catalogue/table_definition.h"
#include "store/engine/database.h"

// Tables of the filing program that shares the folders. This program only reads them (except the
// category table, installed when missing); the definitions here let the demo data and the tests
// play the filing program. Widths not fixed by what this program reads are generous guesses.
namespace athup::store {

inline constexpr std::string_view kApplyerTable = "ORBDB1_APPLYER";
inline constexpr std::string_view kApplyerFileTable = "ORBDB1_Applyer";  // name the lookup opens
inline constexpr std::string_view kAthCodeTable = "ORBDB1_ATH_CODE";
inline constexpr std::string_view kCodeTable = "ORBDB1_CODE";
inline constexpr std::string_view kErrorTable = "ORBDB1_ERROR";
inline constexpr std::string_view kInvoWordTable = "ORBDB1_INVOWORD";
inline constexpr std::string_view kAgentContactTable = "ORBDB1_AgentContact";
inline constexpr std::string_view kLastUploadTable = "ORBDB1_LAST_UPLOAD";

// Code folder tables (alias ORBCODE) and period folder tables (alias ORBWIN).
[[nodiscard]] const std::vector<std::string_view>& codeFolderTables();
[[nodiscard]] const std::vector<std::string_view>& filingProgramPeriodTables();

// The definition of one of the tables above (name matched ignoring case); std::invalid_argument
// for any other name.
[[nodiscard]] const TableDefinition& filingProgramTableDefinition(std::string_view table);

// Creates one of the filing program's tables in the database's folder, its file named exactly
// like `table` + ".DB". An existing table raises athup::Error.
void createFilingProgramTable(Database& database, std::string_view table);

}  // namespace athup::store
