#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "app/ini_settings_store.h"
#include "app/settings_store.h"
#include "cli/cli_run.h"
#include "filing_server_fixture.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/engine/database.h"
#include "support/workstation_environment.h"

namespace athup::testing {
namespace {

namespace fs = std::filesystem;

// athup-cli query on a workstation in a test folder whose settings point at the simulator.
class QueryCliTest : public FilingServerTest {
 protected:
  void SetUp() override {
    FilingServerTest::SetUp();
    m_environment.emplace(m_dir.path());
    app::IniSettingsStore settings(m_dir / "settings.ini");
    settings.writeString(app::kOrbKey, "ath_upd", m_server->baseUrl().substr(8));
    settings.writeString(app::kOrbKey, "ca_file", (m_dir / "ca.pem").string());

    const fs::path db = m_dir / "home/Documents/fiscus/orb/DB";
    fs::create_directories(db / "CODE");
    fs::create_directories(db / kYearMon);
    store::Database code;
    code.open("ORBCODE", db / "CODE");
    for (const auto table : store::codeFolderTables()) store::createFilingProgramTable(code, table);
    code.execute("INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30) VALUES (:B, '測試商行')",
                 {{"B", kBan}});
    store::Database period;
    period.open("ORBWIN", db / kYearMon);
    store::createFilingProgramTable(period, store::kLastUploadTable);
  }

  void TearDown() override {
    m_environment.reset();
    FilingServerTest::TearDown();
  }

  cli::CliResult run(const std::vector<std::string>& extra, const std::string& input = "") {
    std::vector<std::string> args = {"query", "--period", "113/04", "--ban", kBan};
    args.insert(args.end(), extra.begin(), extra.end());
    return cli::runCaptured(args, input);
  }

  std::optional<athup::testing::WorkstationEnvironment> m_environment;
};

TEST_F(QueryCliTest, PrintsTheStatusLinesWithEitherCertificate) {
  const std::string serial = issueSerial();
  ASSERT_EQ(elementText(send(prepareUpload(serial, "A01", "jpg", "one", 1, 1)).body, "Code"), "0");
  const auto passwordFile = m_dir.write("pw.txt", kPassword + "\r\n");

  for (const auto& [args, input] :
       {std::pair{
            std::vector<std::string>{"--cert-type", "1", "--password-file", passwordFile.string()},
            std::string()},
        std::pair{std::vector<std::string>{"--cert-type", "2", "--pin-file", "-", "--test-card"},
                  std::string("123456\n")}}) {
    const cli::CliResult result = run(args, input);
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_TRUE(result.out.starts_with("ORB00102")) << result.out;
    EXPECT_TRUE(result.out.ends_with("\nstatus 0\n")) << result.out;
    EXPECT_NE(result.err.find("作業成功"), std::string::npos) << result.err;
  }
}

TEST_F(QueryCliTest, RefusalsAndWrongArgumentsFail) {
  const auto wrong = m_dir.write("wrong.txt", "nope1234");
  cli::CliResult result = run({"--cert-type", "1", "--password-file", wrong.string()});
  EXPECT_EQ(result.code, 1);
  EXPECT_NE(result.err.find("帳號或密碼錯誤"), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "status \n");

  // A refused PIN is not asked again: the card session gets no second answer.
  result = run({"--cert-type", "2", "--pin-file", "-", "--test-card"}, "000000\n");
  EXPECT_EQ(result.code, 1);

  EXPECT_EQ(run({"--cert-type", "1", "--pin-file", wrong.string()}).code, 2);
  EXPECT_EQ(run({"--cert-type", "3", "--password-file", wrong.string()}).code, 2);
  EXPECT_EQ(run({"--cert-type", "1"}).code, 2);
  EXPECT_EQ(run({"--cert-type", "1", "--password-file", "-"}, "").code, 1);
}

}  // namespace
}  // namespace athup::testing
