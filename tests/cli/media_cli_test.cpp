#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "cli_run.h"
#include "common/clock.h"
#include "security/codecs/file_checksum.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/engine/database.h"
#include "support/temp_dir.h"
#include "support/workstation_environment.h"

namespace athup::cli {
namespace {

namespace fs = std::filesystem;

// Two taxpayers whose zero-rate rows have their documents and one whose row has none, on a
// workstation whose shared documents folder is in a test folder.
class MediaCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_environment.emplace(m_dir.path());
    fs::create_directories(m_dest);
    const fs::path db = m_dir / "home/Documents/fiscus/orb/DB";
    fs::create_directories(db / "CODE");
    fs::create_directories(db / "11302");
    store::Database code;
    code.open("ORBCODE", db / "CODE");
    for (const auto table : store::codeFolderTables()) store::createFilingProgramTable(code, table);
    code.execute("INSERT INTO ORBDB1_ATH_CODE (CODE, CODE_NM) VALUES ('T02', '零稅率銷售額')");
    store::Database period;
    period.open("ORBWIN", db / "11302");
    store::createFilingProgramTable(period, store::kLastUploadTable);
    SystemClock clock;
    ASSERT_TRUE(
        store::preparePeriodTables(period, store::CatalogueLog{m_dir / "run.log", clock}).empty());
    store::migrateOwnTables(period);
    for (const char* ban : {"12345678", "87654321", "11111111"}) {
      period.execute(
          "INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ, ZTX_S_AMT) VALUES (:B, "
          "'T02000001', 100)",
          {{"B", ban}});
      if (std::string(ban) == "11111111") continue;
      m_docs[ban] = m_dir.write(std::string("docs/") + ban + ".pdf", std::string("scan of ") + ban);
      period.execute(
          "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, SUB_SEQ, FILE_NM, FILE_SUB_NM, "
          "FILE_PATH_NM, FILE_SIZE, FILE_TP, FILE_CRC) VALUES (:B, 'T02000001', '0', "
          "'T02000001_0', 'pdf', :P, 10, 'T02', :C)",
          {{"B", ban},
           {"P", m_docs[ban].string()},
           {"C", security::FileChecksumCalculator().checksumText(m_docs[ban])}});
    }
  }

  void TearDown() override { m_environment.reset(); }

  CliResult media(std::vector<std::string> bans) {
    std::vector<std::string> args{"media", "--period", "113/02", "--dest", m_dest.string()};
    args.insert(args.end(), bans.begin(), bans.end());
    return runCaptured(args);
  }

  athup::testing::TempDir m_dir;
  fs::path m_dest = m_dir / "media";
  std::map<std::string, fs::path> m_docs;
  std::optional<athup::testing::WorkstationEnvironment> m_environment;
};

TEST_F(MediaCliTest, WritesCompleteTaxpayersAndReportsFailures) {
  auto result = media({"12345678", "11111111"});
  EXPECT_EQ(result.code, 1);
  EXPECT_NE(result.err.find("11111111 cannot be written"), std::string::npos) << result.err;
  EXPECT_TRUE(fs::is_empty(m_dest));

  result = media({"12345678", "87654321"});
  EXPECT_EQ(result.code, 0) << result.err;
  EXPECT_NE(result.err.find("產檔完成!\r目的資料夾：" + m_dest.string() + "/87654321/"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(athup::testing::readFile(m_dest / "12345678/T02000001_0.pdf"), "scan of 12345678");
  EXPECT_TRUE(fs::exists(m_dest / "87654321/87654321_02.xml"));

  fs::remove_all(m_dest);
  fs::create_directories(m_dest);
  m_dir.write("docs/12345678.pdf", "edited");
  result = media({"12345678", "87654321"});
  EXPECT_EQ(result.code, 1);
  EXPECT_NE(result.err.find("統一編號 12345678 的媒體檔未完成"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find(m_docs["12345678"].string() + " 內容已被更改，"), std::string::npos);
  EXPECT_NE(result.err.find("1 個單位已產生，1 個單位失敗"), std::string::npos);
  EXPECT_EQ(result.err.find("產檔完成"), std::string::npos);
  EXPECT_TRUE(fs::exists(m_dest / "87654321/T02000001_0.pdf"));
}

}  // namespace
}  // namespace athup::cli
