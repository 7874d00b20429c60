#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "cli/command.h"
#include "support/temp_dir.h"
#include "support/workstation_environment.h"

namespace athup::cli {
namespace {

namespace fs = std::filesystem;

// Runs `prepare` with HOME, the settings file and the temporary folder in a test folder, and puts
// the process environment back afterwards.
class PrepareCliTest : public ::testing::Test {
 protected:
  void SetUp() override { m_environment.emplace(m_dir.path()); }

  void TearDown() override { m_environment.reset(); }

  int run(std::vector<std::string> args) {
    args.insert(args.begin(), "prepare");
    std::istringstream in;
    return runCli(args, in, m_out, m_err);
  }

  std::string docDir() const { return (m_dir / "home").string() + "/Documents/fiscus/orb/"; }

  athup::testing::TempDir m_dir;
  std::ostringstream m_out;
  std::ostringstream m_err;
  std::optional<athup::testing::WorkstationEnvironment> m_environment;
};

TEST_F(PrepareCliTest, PreparesTheConfiguredFoldersAndPrintsTheValues) {
  fs::create_directories(docDir() + "DB");

  ASSERT_EQ(run({"--period", "113/10"}), kExitOk) << m_err.str();

  const std::string out = m_out.str();
  for (const std::string& line : std::vector<std::string>{
           "gDataYM=11310\n", "gApplyYM=11311\n", "gDBPath=" + docDir() + "DB/\n",
           "gUploadPath=" + docDir() + "UpLoad/\n",
           "gBackupPath=" + docDir() + "UpLoad/ATHBackUp/11310/\n",
           "gReportPath=" + docDir() + "UpLoad/ATHRpt/11310/\n",
           "gPeriodDefaultPath=" + docDir() + "UpLoad/Default/11310/\n",
           "gTempPath=" + (m_dir / "tmp").string() + "/\n"}) {
    EXPECT_NE(out.find(line), std::string::npos) << line << " in\n" << out;
  }
  EXPECT_TRUE(fs::is_regular_file(docDir() + "DB/11310/ORBDB_ATH_T02.DB"));
  EXPECT_NE(athup::testing::readFile(m_dir / "settings.ini").find("DBPath=" + docDir() + "DB/"),
            std::string::npos);
}

TEST_F(PrepareCliTest, FailuresAndWrongArguments) {
  struct Case {
    std::vector<std::string> args;
    int exit;
    std::string err;
  };
  const Case cases[] = {
      {{"--period", "11310"}, kExitFailure, "無法建立資料表\"" + docDir() + "DB/11310\"目錄"},
      {{"--period", "113/13"}, kExitFailure, "日期輸入錯誤，請重新輸入！"},
      {{"--period", ""}, kExitFailure, "所屬年月不可為空白，請重新輸入！"},
      {{"11310"}, kExitUsage, "unexpected argument"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    m_err.str("");
    EXPECT_EQ(run(c.args), c.exit);
    EXPECT_NE(m_err.str().find(c.err), std::string::npos) << m_err.str();
  }
  EXPECT_EQ(m_out.str(), "");
}

TEST_F(PrepareCliTest, AMissingDatabaseRootIsExplainedAfterTheMessage) {
  const std::string hint = "The database root \"" + docDir() +
                           "DB/\" does not exist. It is DBPath "
                           "in the settings (" +
                           (m_dir / "settings.ini").string() +
                           ") when set, else the shared documents folder's DB (" + docDir() +
                           "DB/).\n";
  EXPECT_EQ(run({"--period", "113/10"}), kExitFailure);
  const std::string err = m_err.str();
  const auto message = err.find("無法建立資料表");
  ASSERT_NE(message, std::string::npos) << err;
  EXPECT_EQ(err.find(hint), err.size() - hint.size()) << err;

  // A root that exists is not explained, even when something else fails.
  fs::create_directories(docDir() + "DB");
  { std::ofstream(docDir() + "DB/11310") << "a file where the period folder goes"; }
  m_err.str("");
  EXPECT_EQ(run({"--period", "113/10"}), kExitFailure);
  EXPECT_NE(m_err.str().find("無法建立資料表"), std::string::npos) << m_err.str();
  EXPECT_EQ(m_err.str().find("database root"), std::string::npos) << m_err.str();
}

}  // namespace
}  // namespace athup::cli
