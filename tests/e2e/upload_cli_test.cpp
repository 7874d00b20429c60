#include <gtest/gtest.h>
#include <stdlib.h>

#include <map>
#include <optional>
#include <sstream>

#include "app/settings_store.h"
#include "cli/command.h"
#include "road_fixture.h"
#include "support/workstation_environment.h"

namespace athup::testing {
namespace {

namespace fs = std::filesystem;

// athup-cli upload in-process, on a workstation whose settings point at the prepared tables and
// at the simulator, with HOME and the temporary folder in the test folder.
class UploadCliTest : public RoadTest {
 protected:
  void SetUp() override {
    RoadTest::SetUp();
    m_environment.emplace(m_dir.path());
    m_settings->writeString(app::kOrbKey, "DBPath", (m_dir / "DB").string() + "/");
    m_settings->writeString(app::kOrbKey, "ath_upd",
                            "127.0.0.1:" + std::to_string(m_server->port()));
    m_settings->writeString(app::kOrbKey, "ca_file", (m_dir / "ca.pem").string());
  }

  void TearDown() override {
    m_environment.reset();
    RoadTest::TearDown();
  }

  int upload(std::vector<std::string> args, const std::string& input) {
    args.insert(args.begin(), {"upload", "--period", "113/04", "--ban", kBan});
    std::istringstream in(input);
    m_out.str("");
    m_err.str("");
    return cli::runCli(args, in, m_out, m_err);
  }

  std::ostringstream m_out;
  std::ostringstream m_err;
  std::optional<athup::testing::WorkstationEnvironment> m_environment;
};

TEST_F(UploadCliTest, SendsEveryFileWithThePasswordOrTheCard) {
  addThreeDocuments();
  const std::string pinFile =
      m_dir.write("pin.txt", std::string(security::TestCardClient::kTestCardPin) + "\n").string();
  struct Case {
    std::vector<std::string> args;
    std::string input;
    std::string certType;
  };
  const Case cases[] = {
      {{"--cert-type", "1", "--password-file", "-"}, kPassword + "\n", "1"},
      // The card's signature goes whole, line breaks and all, as each file's seal.
      {{"--cert-type", "2", "--pin-file", pinFile, "--test-card"}, "", "2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.certType);
    ASSERT_EQ(upload(c.args, c.input), cli::kExitOk) << m_err.str();
    EXPECT_EQ(m_out.str(), "uploaded 4 files of " + kBan + "\n");
    EXPECT_NE(m_err.str().find("傳檔完成"), std::string::npos) << m_err.str();
    const auto run = m_server->ledger().runs().back();
    EXPECT_EQ(run.files.size(), 4U);
  }
}

TEST_F(UploadCliTest, RefusalsAndWrongArgumentsExitWithTheirMessage) {
  addThreeDocuments();
  const std::string pinFile = m_dir.write("pin.txt", "123456\n").string();
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int exit;
    std::string err;
  };
  const Case cases[] = {
      {{"--cert-type", "1", "--password-file", "-"},
       "nope1234\n",
       cli::kExitFailure,
       "帳號或密碼錯誤"},
      {{"--cert-type", "2", "--pin-file", pinFile}, "", cli::kExitFailure, "工商憑證"},
      {{"--cert-type", "1", "--pin-file", pinFile}, "", cli::kExitUsage, "needs --password-file"},
      {{"--cert-type", "3", "--pin-file", pinFile}, "", cli::kExitUsage, "--cert-type"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[1]);
    EXPECT_EQ(upload(c.args, c.input), c.exit);
    EXPECT_NE(m_err.str().find(c.err), std::string::npos) << m_err.str();
    EXPECT_EQ(m_out.str(), "");
  }
  for (const auto& run : m_server->ledger().runs()) EXPECT_TRUE(run.files.empty());
}

}  // namespace
}  // namespace athup::testing
