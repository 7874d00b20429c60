#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/clock.h"
#include "demo_data/filing_records.h"
#include "index/flows/upload_limit.h"
#include "security/codecs/file_checksum.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/engine/database.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::index::testing {

namespace fs = std::filesystem;

inline constexpr const char* kBan = "12345678";
inline constexpr const char* kOtherBan = "87654321";
inline constexpr const char* kPeriod = "11302";

// A period database folder and a code folder with every table, the category names, and a folder
// for the filing files; the flows run against it with a scripted interaction.
class IndexFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    UploadLimit::resetForTests();
    fs::create_directories(dbPath / "CODE");
    fs::create_directories(dbPath / kPeriod);
    fs::create_directories(filingFolder);
    orbCode.open("ORBCODE", dbPath / "CODE");
    orbWin.open("ORBWIN", dbPath / kPeriod);
    for (const auto table : store::codeFolderTables()) {
      store::createFilingProgramTable(orbCode, table);
    }
    store::createFilingProgramTable(orbWin, store::kLastUploadTable);
    SystemClock clock;
    ASSERT_TRUE(
        store::preparePeriodTables(orbWin, store::CatalogueLog{dir / "run.log", clock}).empty());
    store::migrateOwnTables(orbWin);
    for (const auto& [code, name] : {std::pair{"T02", "零稅率銷售額"}, std::pair{"T08", "固定資產"},
                                     std::pair{"TET", "申報書"}}) {
      orbCode.execute("INSERT INTO ORBDB1_ATH_CODE (CODE, CODE_NM) VALUES (:C, :N)",
                      {{"C", code}, {"N", name}});
    }
    orbCode.execute(
        "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9, HSN_CD) VALUES (:BAN, "
        "'測試商行', '123456789', 'A')",
        {{"BAN", kBan}});
  }

  void TearDown() override { UploadLimit::resetForTests(); }

  // Writes a filing file into the filing folder and returns its path.
  fs::path writeFiling(const std::string& name, const std::string& bytes) {
    return dir.write("filing/" + name, bytes);
  }

  static std::string crcOf(const fs::path& file) {
    return security::FileChecksumCalculator().checksumText(file);
  }

  // Records the checksums of a return upload for the taxpayer in the period.
  void recordUpload(const std::string& ban, const std::string& t02, const std::string& t08,
                    const std::string& tet) {
    orbWin.execute(
        "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, HSN_CD, T02_CRC, T08_CRC, TET_CRC, "
        "UPD_SUCCESS_NO) VALUES (:BAN, :P, 'A', :T02, :T08, :TET, '0001')",
        {{"BAN", ban}, {"P", kPeriod}, {"T02", t02}, {"T08", t08}, {"TET", tet}});
  }

  static demodata::T02Line t02Line(const std::string& mode, std::int64_t amount = 1000) {
    demodata::T02Line line;
    line.BAN = kBan;
    line.HSN_CD = "A";
    line.VAT_LOSN_X9 = "123456789";
    line.DATA_YYMM_X5 = kPeriod;
    line.INVO_YM = "11301";
    line.INVO_TRACK = "AB12345678";
    line.BUYER_BAN = "22222222";
    line.EXPORT_MODE = "1";
    line.PCTS_MODE = mode;
    line.BILL_OF_SIGHT_TP = "D5";
    line.BILL_OF_SIGHT_NO = "AA12345678901B";
    line.ZTX_S_AMT = amount;
    line.FGN_EXCH_DATE = "1130215";
    return line;
  }

  static std::string t02File(const std::vector<demodata::T02Line>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += demodata::formatT02Record(line);
    return bytes;
  }

  // A document of `size` bytes below the folder.
  fs::path document(const std::string& name, std::size_t size, char fill = 'x') {
    return dir.write("docs/" + name, std::string(size, fill));
  }

  std::int64_t count(const std::string& sql) {
    return static_cast<std::int64_t>(orbWin.query(sql).row(0).front().asNumber());
  }

  athup::testing::TempDir dir;
  fs::path dbPath = dir / "DB";
  fs::path filingFolder = dir / "filing";
  store::Database orbWin;
  store::Database orbCode;
  athup::testing::ScriptedInteraction ui;
};

}  // namespace athup::index::testing
