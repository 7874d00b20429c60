#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_data/demo_scenario.h"

// The filing program's tables, written through the store as the filing program leaves them.
// A table that already exists keeps its file and loses its rows: the demo data replaces what an
// earlier run wrote.
namespace athup::demodata {

// One row of ORBDB1_LAST_UPLOAD: the return upload with the checksum texts of its filing files
// (empty when the return carried no such file).
struct LastUploadRow {
  std::string BAN;
  std::string DATA_YYMM_X5;
  std::string HSN_CD;
  std::string T02_CRC;
  std::string T08_CRC;
  std::string TET_CRC;
  std::string UPD_SUCCESS_NO;
  std::string FLG_DATE_X7;
};

struct TableCount {
  std::filesystem::path file;
  std::size_t rows = 0;
};

// The code folder: taxpayer master, category names, code descriptions and the tables whose
// presence the program checks. Returns one entry per table in the order written.
[[nodiscard]] std::vector<TableCount> writeCodeTables(const std::filesystem::path& codeFolder,
                                                      const Scenario& scenario);

// The category table ORBDB1_ATH_CODE alone, as delivered for installation.
[[nodiscard]] TableCount writeAthCodeTable(const std::filesystem::path& folder);

// ORBDB1_LAST_UPLOAD in the period database folder.
[[nodiscard]] TableCount writeLastUpload(const std::filesystem::path& periodFolder,
                                         const std::vector<LastUploadRow>& rows);

}  // namespace athup::demodata
