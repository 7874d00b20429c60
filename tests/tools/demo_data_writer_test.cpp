#include "demo_data/demo_data_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/big5.h"
#include "demo_data/filing_records.h"
#include "pdf_check.h"
#include "security/cipher/crypt_file.h"
#include "security/codecs/file_checksum.h"
#include "store/engine/database.h"
#include "store/engine/table_files.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::demodata {
namespace {

namespace fs = std::filesystem;
using athup::testing::readFile;
using athup::testing::TempDir;

// Every file below a folder, by its path relative to it, with its bytes.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), folder).generic_string()] = readFile(entry.path());
    }
  }
  return files;
}

DemoDataOptions optionsIn(const TempDir& dir, std::uint64_t seed) {
  DemoDataOptions options;
  options.docDir = dir / "doc";
  options.period = "11310";
  options.seed = seed;
  options.programDir = dir / "program";
  return options;
}

store::ResultSet rowsOf(const fs::path& folder, const std::string& sql) {
  store::Database database;
  database.open("TEST", folder);
  return database.query(sql);
}

class DemoDataWriter : public ::testing::Test {
 protected:
  void SetUp() override { summary = writeDemoData(optionsIn(dir, 7)); }

  fs::path filingFolder() const { return dir / "doc" / "UpLoad" / "Default" / "11310"; }

  TempDir dir;
  DemoDataSummary summary;
};

TEST_F(DemoDataWriter, SameSeedSameBytesOtherSeedOtherData) {
  TempDir again;
  (void)writeDemoData(optionsIn(again, 7));
  const auto first = filesBelow(filingFolder());
  const auto second = filesBelow(again / "doc" / "UpLoad" / "Default" / "11310");
  EXPECT_EQ(first, second);
  EXPECT_EQ(filesBelow(dir / "program"), filesBelow(again / "program"));
  EXPECT_GT(std::count_if(first.begin(), first.end(),
                          [](const auto& file) { return file.first.ends_with(".pdf"); }),
            5);

  TempDir other;
  (void)writeDemoData(optionsIn(other, 8));
  const auto third = filesBelow(other / "doc" / "UpLoad" / "Default" / "11310");
  EXPECT_NE(first, third);
  std::set<std::string> shared;
  for (const auto& [name, bytes] : third) {
    if (first.count(name)) shared.insert(name);
  }
  EXPECT_TRUE(shared.empty()) << "another seed gives other taxpayers: " << *shared.begin();
}

TEST_F(DemoDataWriter, FilingFilesAreWholeBig5RecordsEndingInCrLf) {
  const std::map<std::string, std::size_t> widths = {
      {".T02", kT02RecordWidth}, {".T08", kT08RecordWidth}, {".TET", kTetRecordWidth}};
  std::set<std::string> extensions;
  bool chineseSeen = false;
  ASSERT_FALSE(summary.filingFiles.empty());
  for (const WrittenFilingFile& file : summary.filingFiles) {
    const std::string extension = file.path.extension().string();
    extensions.insert(extension);
    const std::size_t width = widths.at(extension);
    const std::string bytes = readFile(file.path);
    ASSERT_EQ(bytes.size(), file.records * width) << file.path;
    for (std::size_t at = 0; at < bytes.size(); at += width) {
      const std::string record = bytes.substr(at, width);
      EXPECT_EQ(record.substr(width - 2), "\r\n") << file.path;
      EXPECT_EQ(record.substr(0, width - 2).find_first_of("\r\n"), std::string::npos);
      const std::string text = common::big5ToUtf8(record);
      EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "not Big5: " << file.path;
      EXPECT_EQ(common::utf8ToBig5(text), record);
      chineseSeen |= text.size() > record.size();
      // the taxpayer's BAN stands where the import reads it
      const std::string ban = file.path.stem().string();
      const std::size_t banAt = extension == ".T02" ? 0 : extension == ".T08" ? 6 : 11;
      EXPECT_EQ(record.substr(banAt, 8), ban);
    }
  }
  EXPECT_EQ(extensions, (std::set<std::string>{".T02", ".T08", ".TET"}));
  EXPECT_TRUE(chineseSeen) << "asset names and uses are Chinese";
}

TEST_F(DemoDataWriter, LastUploadHoldsTheChecksumsOfTheWrittenFiles) {
  const auto rows = rowsOf(dir / "doc" / "DB" / "11310",
                           "SELECT BAN, DATA_YYMM_X5, T02_CRC, T08_CRC, TET_CRC, UPD_SUCCESS_NO, "
                           "FLG_DATE_X7 FROM ORBDB1_LAST_UPLOAD");
  ASSERT_EQ(rows.recordCount(), summary.lastUpload.size());
  security::FileChecksumCalculator crc;
  std::size_t checked = 0;
  for (std::size_t i = 0; i < rows.recordCount(); ++i) {
    const auto& row = rows.row(i);
    const std::string ban = row[0].asText();
    EXPECT_EQ(row[1].asText(), "11310");
    EXPECT_FALSE(row[5].asText().empty());
    EXPECT_EQ(row[6].asText().substr(0, 5), "11311");  // filed in the month after the period
    const std::vector<std::pair<std::string, std::string>> files = {
        {".T02", row[2].asText()}, {".T08", row[3].asText()}, {".TET", row[4].asText()}};
    for (const auto& [extension, stored] : files) {
      const fs::path file = filingFolder() / (ban + extension);
      if (fs::exists(file)) {
        EXPECT_EQ(stored, crc.checksumText(file)) << file;
        ++checked;
      } else {
        EXPECT_EQ(stored, "") << "no file, no checksum: " << file;
      }
    }
  }
  EXPECT_EQ(checked, summary.filingFiles.size());
}

TEST_F(DemoDataWriter, CodeTablesHoldTheTaxpayersAndCategories) {
  const fs::path code = dir / "doc" / "DB" / "CODE";
  const auto taxpayers = rowsOf(code, "SELECT BAN, BAN_NM_X30 FROM ORBDB1_Applyer");
  std::map<std::string, int> count;
  bool chineseName = false;
  for (std::size_t i = 0; i < taxpayers.recordCount(); ++i) {
    ++count[taxpayers.row(i)[0].asText()];
    const std::string name = taxpayers.row(i)[1].asText();
    chineseName |= common::big5Width(name) < name.size();
  }
  EXPECT_GE(count.size(), 5u);
  EXPECT_EQ(count.at(summary.repeatedBan), 2);
  EXPECT_TRUE(chineseName);
  // a taxpayer in the master that filed nothing: no filing file, no last-upload row
  const auto filed = std::count_if(count.begin(), count.end(), [&](const auto& entry) {
    return fs::exists(filingFolder() / (entry.first + ".TET"));
  });
  EXPECT_EQ(static_cast<std::size_t>(filed), summary.lastUpload.size());
  EXPECT_LT(static_cast<std::size_t>(filed), count.size());

  const auto categories = rowsOf(code, "SELECT CODE, CODE_NM FROM ORBDB1_ATH_CODE ORDER BY CODE");
  ASSERT_EQ(categories.recordCount(), 3u);
  EXPECT_EQ(categories.row(0)[0].asText(), "T02");
  EXPECT_EQ(categories.row(1)[0].asText(), "T08");
  EXPECT_EQ(categories.row(2)[0].asText(), "TET");
  EXPECT_EQ(categories.row(1)[1].asText(), "固定資產退稅清單");
  for (const char* table :
       {"ORBDB1_CODE", "ORBDB1_ERROR", "ORBDB1_INVOWORD", "ORBDB1_AgentContact"}) {
    EXPECT_FALSE(store::findTableFile(code, table).empty()) << table;
  }
  // with the default root the delivered category table is the code folder's own
  EXPECT_EQ(store::findFileIgnoringCase(
                store::resolveFolderIgnoringCase(dir / "doc" / "DB", "code"), "ORBDB1_ATH_CODE.DB"),
            code / "ORBDB1_ATH_CODE.DB");
}

TEST_F(DemoDataWriter, EvidenceDocumentsAreSoundPdfs) {
  std::size_t needEvidence = 0;
  for (const WrittenFilingFile& file : summary.filingFiles) needEvidence += file.needEvidence;
  std::size_t lineDocuments = 0;
  for (const fs::path& document : summary.documents) {
    EXPECT_EQ(document.parent_path(), filingFolder() / "docs");
    EXPECT_EQ(testing::pdfProblems(readFile(document)), "") << document;
    lineDocuments += document.stem().string().find("_TET") == std::string::npos;
  }
  EXPECT_EQ(lineDocuments, needEvidence) << "one document per line that needs evidence";
}

TEST_F(DemoDataWriter, VersionRecordDecryptsToItsIniAndNoticesAreBig5) {
  const fs::path program = dir / "program";
  const std::string stored = readFile(program / "version");
  EXPECT_EQ(stored.find("[Version]"), std::string::npos) << "stored encrypted";
  ASSERT_NO_THROW(security::cryptFileByMode(program / "version", dir / "version.ini",
                                            security::CryptMode::Decrypt));
  const std::string ini = readFile(dir / "version.ini");
  EXPECT_EQ(ini.rfind("[Version]\r\nnow=", 0), 0u) << ini;
  EXPECT_NE(ini.find("\r\n[VersionDate]\r\ndate="), std::string::npos) << ini;
  const std::string date = ini.substr(ini.find("date=") + 5, 7);
  EXPECT_TRUE(std::all_of(date.begin(), date.end(), ::isdigit)) << date;

  for (const char* name : {"readme.txt", "readme_20190101.txt"}) {
    const std::string bytes = readFile(program / name);
    const std::string text = common::big5ToUtf8(bytes);
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << name;
    EXPECT_TRUE(bytes.ends_with("\r\n")) << name;
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = bytes.find('\n', at)) != std::string::npos; ++at) {
      EXPECT_EQ(bytes[at - 1], '\r') << name;
      ++lines;
    }
    EXPECT_GE(lines, 6u) << "the splash shows five lines and reads a sixth";
  }
}

TEST(DemoDataWriterRoots, OwnDatabaseRootGetsItsTablesAndTheDeliveredCopyStaysUnderDocDir) {
  TempDir dir;
  DemoDataOptions options = optionsIn(dir, 3);
  options.dbPath = dir / "elsewhere";
  options.programDir.reset();
  const DemoDataSummary summary = writeDemoData(options);
  EXPECT_FALSE(store::findTableFile(dir / "elsewhere" / "CODE", "ORBDB1_APPLYER").empty());
  EXPECT_FALSE(store::findTableFile(dir / "elsewhere" / "11310", "ORBDB1_LAST_UPLOAD").empty());
  EXPECT_TRUE(fs::exists(dir / "doc" / "DB" / "code" / "ORBDB1_ATH_CODE.DB"));
  EXPECT_FALSE(fs::exists(dir / "doc" / "DB" / "CODE"));
  EXPECT_TRUE(summary.programFiles.empty());
  EXPECT_FALSE(fs::exists(dir / "program"));

  // a second run replaces the rows instead of adding to them
  (void)writeDemoData(options);
  const auto rows = rowsOf(dir / "elsewhere" / "CODE", "SELECT BAN FROM ORBDB1_APPLYER");
  EXPECT_EQ(rows.recordCount(), summary.applyerRows);
}

}  // namespace
}  // namespace athup::demodata
