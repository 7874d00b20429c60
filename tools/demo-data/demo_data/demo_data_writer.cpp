#include "demo_data/demo_data_writer.h"

#include <fstream>
#include <map>
#include <string>
#include <system_error>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "demo_data/evidence_documents.h"
#include "demo_data/filing_records.h"
#include "demo_data/notices.h"
#include "security/cipher/crypt_file.h"
#include "security/codecs/file_checksum.h"
#include "store/engine/table_files.h"

namespace athup::demodata {
namespace {

namespace fs = std::filesystem;

std::string pathText(const fs::path& path) {
  return common::utf8FromPath(path);
}

void makeFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error || !fs::is_directory(folder)) {
    throw Error("無法建立目錄 \"" + pathText(folder) + "\"：" + error.message());
  }
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw Error("無法寫入檔案 \"" + pathText(path) + "\"");
}

// Writes the plain record, then encrypts it in place with the version-record password.
void writeVersionRecord(const fs::path& file, const DemoVersion& version) {
  writeBytes(file, versionIniText(version));
  try {
    security::cryptFileByMode(file, file, security::CryptMode::Encrypt);
  } catch (...) {
    std::error_code ignored;  // a plain record must not stay behind under the encrypted name
    fs::remove(file, ignored);
    throw;
  }
}

bool sameFolder(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

}  // namespace

std::string t02FileBytes(const TaxpayerFiling& filing) {
  std::string bytes;
  for (const T02Line& line : filing.t02) bytes += formatT02Record(line);
  return bytes;
}

std::string t08FileBytes(const TaxpayerFiling& filing) {
  std::string bytes;
  for (const T08Line& line : filing.t08) bytes += formatT08Record(line);
  return bytes;
}

std::string tetFileBytes(const TaxpayerFiling& filing) {
  return filing.hasTet ? formatTetRecord(filing.tet) : std::string();
}

DemoDataSummary writeDemoData(const DemoDataOptions& options) {
  if (options.docDir.empty()) throw Error("請指定共用文件目錄（--doc-dir）");
  const Scenario scenario = buildScenario(options.seed, options.period);

  DemoDataSummary summary;
  summary.gDataYM = scenario.gDataYM;
  summary.gApplyYM = scenario.gApplyYM;
  summary.taxpayers = scenario.taxpayers.size();
  summary.applyerRows = scenario.applyers.size();
  std::map<std::string, int> banCount;
  for (const ApplyerRow& row : scenario.applyers) {
    if (++banCount[row.BAN] == 2) summary.repeatedBan = row.BAN;
  }

  // filing files, and the checksum texts the return upload recorded for them
  summary.filingFolder = options.docDir / "UpLoad" / "Default" / scenario.gDataYM;
  makeFolder(summary.filingFolder);
  security::FileChecksumCalculator crc;
  for (const TaxpayerFiling& filing : scenario.taxpayers) {
    if (!filing.filed()) continue;
    LastUploadRow row;
    row.BAN = filing.taxpayer.BAN;
    row.DATA_YYMM_X5 = scenario.gDataYM;
    row.HSN_CD = filing.taxpayer.HSN_CD;
    row.UPD_SUCCESS_NO = filing.UPD_SUCCESS_NO;
    row.FLG_DATE_X7 = filing.FLG_DATE_X7;
    const auto writeFile = [&](const std::string& extension, const std::string& bytes,
                               std::size_t records, std::size_t needEvidence,
                               std::string& crcColumn) {
      if (bytes.empty()) return;
      const fs::path path = summary.filingFolder / (filing.taxpayer.BAN + extension);
      writeBytes(path, bytes);
      crcColumn = crc.checksumText(path);
      summary.filingFiles.push_back({path, records, needEvidence});
    };
    std::size_t uncleared = 0;
    for (const T02Line& line : filing.t02) uncleared += line.PCTS_MODE == "1";
    writeFile(".T02", t02FileBytes(filing), filing.t02.size(), uncleared, row.T02_CRC);
    writeFile(".T08", t08FileBytes(filing), filing.t08.size(), filing.t08.size(), row.T08_CRC);
    writeFile(".TET", tetFileBytes(filing), filing.hasTet ? 1 : 0, 0, row.TET_CRC);
    summary.lastUpload.push_back(row);
  }

  summary.documentFolder = summary.filingFolder / "docs";
  makeFolder(summary.documentFolder);
  for (const EvidenceDocument& document : evidenceDocuments(scenario, options.seed)) {
    const fs::path path = summary.documentFolder / document.fileName;
    writeBytes(path, document.bytes);
    summary.documents.push_back(path);
  }

  // tables: the code folder, the delivered category table, the period's last upload
  const fs::path dbRoot = options.dbPath ? *options.dbPath : options.docDir / "DB";
  makeFolder(dbRoot);
  const fs::path codeFolder = store::resolveFolderIgnoringCase(dbRoot, "CODE");
  for (const TableCount& table : writeCodeTables(codeFolder, scenario)) {
    summary.tables.push_back(table);
  }
  makeFolder(options.docDir / "DB");
  const fs::path deliveredFolder = store::resolveFolderIgnoringCase(options.docDir / "DB", "code");
  if (!sameFolder(deliveredFolder, codeFolder)) {
    // with the default root the delivered table is the code folder's own (one folder, however
    // its name is spelt); elsewhere it is a separate copy for installation
    summary.tables.push_back(writeAthCodeTable(deliveredFolder));
  }
  summary.tables.push_back(writeLastUpload(dbRoot / scenario.gDataYM, summary.lastUpload));

  if (options.programDir) {
    makeFolder(*options.programDir);
    for (const std::string name : {"readme.txt", "readme_20190101.txt"}) {
      const fs::path path = *options.programDir / name;
      writeBytes(path, readmeNotice(name, scenario));
      summary.programFiles.push_back(path);
    }
    const fs::path version = *options.programDir / "version";
    writeVersionRecord(version, scenario.version);
    summary.programFiles.push_back(version);
  }
  return summary;
}

}  // namespace athup::demodata
