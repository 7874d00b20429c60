#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "demo_data/demo_tables.h"

namespace athup::demodata {

struct DemoDataOptions {
  std::filesystem::path docDir;  // the shared documents folder
  std::string period;            // gDataYM, YYYMM
  std::uint64_t seed = 1;
  std::optional<std::filesystem::path> programDir;  // version record and notices go here
  std::optional<std::filesystem::path> dbPath;      // database root; default docDir/DB
};

struct WrittenFilingFile {
  std::filesystem::path path;
  std::size_t records = 0;
  std::size_t needEvidence = 0;  // T02 lines not cleared through customs; every T08 line
};

struct DemoDataSummary {
  std::string gDataYM;
  std::string gApplyYM;
  std::size_t taxpayers = 0;
  std::size_t applyerRows = 0;
  std::string repeatedBan;
  std::filesystem::path filingFolder;
  std::vector<WrittenFilingFile> filingFiles;
  std::filesystem::path documentFolder;
  std::vector<std::filesystem::path> documents;
  std::vector<TableCount> tables;  // code folder, default category table, last upload
  std::vector<LastUploadRow> lastUpload;
  std::vector<std::filesystem::path> programFiles;
};

// Writes everything the filing program leaves behind for the period, from the seed alone:
//   docDir/UpLoad/Default/<period>/   BAN.T02, BAN.T08, BAN.TET (Big5, CR LF)
//   .../docs/                         the evidence documents (PDF)
//   <db root>/CODE/                   taxpayer master and code tables
//   docDir/DB/code/                   the category table delivered for installation
//   <db root>/<period>/               ORBDB1_LAST_UPLOAD with the files' checksum texts
//   programDir/                       "version" (encrypted), "readme.txt", "readme_20190101.txt"
// Failures raise athup::Error.
[[nodiscard]] DemoDataSummary writeDemoData(const DemoDataOptions& options);

// The filing files of one taxpayer in bytes: the records joined, nothing else.
[[nodiscard]] std::string t02FileBytes(const TaxpayerFiling& filing);
[[nodiscard]] std::string t08FileBytes(const TaxpayerFiling& filing);
[[nodiscard]] std::string tetFileBytes(const TaxpayerFiling& filing);

}  // namespace athup::demodata
