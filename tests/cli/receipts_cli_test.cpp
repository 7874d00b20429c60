#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "cli_run.h"
#include "common/big5.h"
#include "security/cipher/crypt_file.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/engine/database.h"
#include "support/temp_dir.h"
#include "support/workstation_environment.h"

namespace athup::cli {
namespace {

namespace fs = std::filesystem;

// The receipt commands on a workstation whose shared documents folder is in a test folder: the
// period 113/02 files in 113/03, so its receipt files are named BAN + "11303.prn".
class ReceiptsCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_environment.emplace(m_dir.path());
    const fs::path doc = m_dir / "home/Documents/fiscus/orb";
    fs::create_directories(doc / "DB/CODE");
    fs::create_directories(doc / "DB/11302");
    store::Database code;
    code.open("ORBCODE", doc / "DB/CODE");
    for (const auto table : store::codeFolderTables()) store::createFilingProgramTable(code, table);
    code.execute(
        "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9) VALUES ('12345675', '測試商行', "
        "'123456789')");
    store::Database period;
    period.open("ORBWIN", doc / "DB/11302");
    store::createFilingProgramTable(period, store::kLastUploadTable);
    m_report = doc / "UpLoad/ATHRpt/11302";
    fs::create_directories(m_report);
  }

  void TearDown() override { m_environment.reset(); }

  void writeReceipt(const std::string& ban) {
    std::string line = "ORB00102000100" + std::string("A001") + std::string(17, ' ') + "pdf" +
                       "00000000000000001234" + std::string(20, '0') + "20240520143015" +
                       "20240521093000" + std::string(8, ' ') + "OK";
    const fs::path plain =
        m_dir.write("plain.txt", common::utf8ToBig5("ORB000" + ban + "005     0030\r\n" + line));
    security::cryptFileWithPassword(plain, m_report / (ban + "11303.prn"),
                                    security::CryptMode::Encrypt, ban);
  }

  athup::testing::TempDir m_dir;
  fs::path m_report;
  std::optional<athup::testing::WorkstationEnvironment> m_environment;
};

TEST_F(ReceiptsCliTest, ListsThePeriodsReceiptFilesAndPrintsThemToOnePdf) {
  writeReceipt("12345675");
  writeReceipt("23456789");
  m_dir.write("home/Documents/fiscus/orb/UpLoad/ATHRpt/11302/3456789011302.prn", "other period");

  const CliResult list = runCaptured({"receipts", "list", "--period", "113/02", "--desc"});
  ASSERT_EQ(list.code, kExitOk) << list.err;
  const auto second = list.out.find('\n') + 1;
  EXPECT_EQ(list.out.substr(0, 3), "▼");
  EXPECT_EQ(list.out.substr(second, 8), "23456789");  // descending by BAN
  EXPECT_NE(list.out.find("12345675       | 123456789    | 測試商行"), std::string::npos);
  EXPECT_EQ(list.out.find("34567890"), std::string::npos);

  const std::string pdf = (m_dir / "out.pdf").string();
#ifndef ATHUP_HAVE_RECEIPT_PDF
  EXPECT_EQ(runCaptured({"receipts", "print", "--period", "113/02", "--pdf", pdf, "12345675"}).code,
            kExitFailure);
  GTEST_SKIP() << "a build without Qt writes no PDF";
#endif
  const CliResult print = runCaptured({"receipts", "print", "--period", "113/02", "--pdf", pdf,
                                       "12345675", "99999999", "23456789"});
  ASSERT_EQ(print.code, kExitOk) << print.err;
  EXPECT_EQ(print.out, "wrote 2 page(s) to " + pdf + "\n");
  EXPECT_EQ(athup::testing::readFile(pdf).substr(0, 5), "%PDF-");
  for (const auto& entry : fs::directory_iterator(m_report)) {
    EXPECT_NE(entry.path().extension(), ".dprn");
  }
  store::Database period;
  period.open("ORBWIN", m_dir / "home/Documents/fiscus/orb/DB/11302");
  EXPECT_TRUE(period.query("SELECT * FROM ORBDB1_ATH_STATUS").empty());
}

TEST_F(ReceiptsCliTest, AReceiptFileThatDoesNotDecryptFailsTheCommand) {
#ifndef ATHUP_HAVE_RECEIPT_PDF
  GTEST_SKIP() << "a build without Qt writes no PDF";
#endif
  writeReceipt("23456789");
  m_dir.write("home/Documents/fiscus/orb/UpLoad/ATHRpt/11302/1234567511303.prn", "garbage");
  const std::string pdf = (m_dir / "out.pdf").string();
  const CliResult print = runCaptured(
      {"receipts", "print", "--period", "113/02", "--pdf", pdf, "23456789", "12345675"});
  EXPECT_EQ(print.code, kExitFailure);
  EXPECT_NE(print.err.find("統編：12345675 收執聯檔案解密失敗!"), std::string::npos) << print.err;
  EXPECT_FALSE(fs::exists(pdf));

  const CliResult none =
      runCaptured({"receipts", "print", "--period", "113/02", "--pdf", pdf, "34567890"});
  EXPECT_EQ(none.code, kExitFailure);
  EXPECT_FALSE(fs::exists(pdf));
  EXPECT_EQ(runCaptured({"receipts", "print", "--period", "113/02", "--pdf", pdf}).code,
            kExitUsage);
}

}  // namespace
}  // namespace athup::cli
