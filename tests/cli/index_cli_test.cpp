#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "cli_run.h"
#include "demo_data/filing_records.h"
#include "security/codecs/file_checksum.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/engine/database.h"
#include "support/temp_dir.h"
#include "support/workstation_environment.h"

namespace athup::cli {
namespace {

namespace fs = std::filesystem;

// The index commands on a workstation whose shared documents folder is in a test folder, with
// the filing program's tables and a T02 filing file that was uploaded with the return.
class IndexCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_environment.emplace(m_dir.path());
    const fs::path db = m_dir / "home/Documents/fiscus/orb/DB";
    fs::create_directories(db / "CODE");
    fs::create_directories(db / "11302");
    store::Database code;
    code.open("ORBCODE", db / "CODE");
    for (const auto table : store::codeFolderTables()) store::createFilingProgramTable(code, table);
    code.execute("INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30) VALUES ('12345678', '測試商行')");
    code.execute("INSERT INTO ORBDB1_ATH_CODE (CODE, CODE_NM) VALUES ('T02', '零稅率銷售額')");

    demodata::T02Line line;
    line.BAN = "12345678";
    line.PCTS_MODE = "1";
    line.INVO_TRACK = "AB12345678";
    line.ZTX_S_AMT = 500;
    const fs::path filing = m_dir.write(
        "filing/12345678.T02", demodata::formatT02Record(line) + demodata::formatT02Record(line));
    store::Database period;
    period.open("ORBWIN", db / "11302");
    store::createFilingProgramTable(period, store::kLastUploadTable);
    period.execute(
        "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, T02_CRC) VALUES ('12345678', '11302', "
        ":C)",
        {{"C", security::FileChecksumCalculator().checksumText(filing)}});
    m_folder = (m_dir / "filing").string();
  }

  void TearDown() override { m_environment.reset(); }

  CliResult run(std::vector<std::string> args) { return runCaptured(args); }

  athup::testing::TempDir m_dir;
  std::string m_folder;
  std::optional<athup::testing::WorkstationEnvironment> m_environment;
};

TEST_F(IndexCliTest, ImportAssignCheckAndUnassign) {
  const std::vector<std::string> who = {"--period", "113/02", "--ban", "12345678"};
  auto with = [&](std::string command, std::vector<std::string> more) {
    std::vector<std::string> args{std::move(command)};
    args.insert(args.end(), who.begin(), who.end());
    args.insert(args.end(), more.begin(), more.end());
    return run(args);
  };

  auto result = with("import", {"--type", "t02", "--folder", m_folder});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, "imported 2 rows into ORBDB_ATH_T02 for 12345678\n");

  // Importing again asks; without --yes the question is refused and the index kept.
  result = with("import", {"--type", "T02", "--folder", m_folder});
  EXPECT_EQ(result.code, 1);
  EXPECT_NE(result.err.find("pass --yes"), std::string::npos);

  result = with("check", {});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, "請檢查附件資料登錄是否完整！\n");

  const auto doc1 = m_dir.write("docs/one.pdf", "%PDF-1 one");
  const auto doc2 = m_dir.write("docs/two.pdf", "%PDF-1 two");
  result = with("assign", {"--seq", "T02000001", doc1.string()});
  ASSERT_EQ(result.code, 0) << result.err;
  result = with("assign", {"--seq", "T02000002", doc1.string(), doc2.string()});
  ASSERT_EQ(result.code, 0) << result.err;
  result = with("assign", {"--seq", "T02000009", doc1.string()});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, "no index row T02000009 for 12345678\n");

  result = with("index", {});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out,
            "T02 零稅率銷售額: 2 rows\n"
            "T02000001\tAB12345678\t\t500\tfiles=1\n"
            "  0\t113021234567802000100\t10\t" +
                doc1.string() +
                "\n"
                "T02000002\tAB12345678\t\t500\tfiles=2\n"
                "  0\t113021234567802000200\t10\t" +
                doc1.string() +
                "\n"
                "  1\t113021234567802000201\t10\t" +
                doc2.string() + "\n");

  result = with("check", {});
  EXPECT_EQ(result.code, 0) << result.err;

  m_dir.write("docs/two.pdf", "%PDF-1 TWO");
  result = with("check", {});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err,
            "附件清單中，零稅率銷售額的檔案：" + doc2.string() + " 內容已被更改，\n請重新設定．\n");

  result = with("unassign", {"--seq", "T02000002"});
  EXPECT_EQ(result.code, 1);  // the question needs --yes
  result = with("unassign", {"--seq", "T02000002", "--yes"});
  EXPECT_EQ(result.code, 0) << result.err;
  result = with("check", {});
  EXPECT_EQ(result.err, "請檢查附件資料登錄是否完整！\n");

  EXPECT_EQ(with("import", {"--type", "T09"}).code, 2);
}

}  // namespace
}  // namespace athup::cli
