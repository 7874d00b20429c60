#include "app/version_check.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/command.h"
#include "filing_server_fixture.h"
#include "support/scripted_interaction.h"

namespace athup::testing {
namespace {

class VersionCheckTest : public FilingServerTest {
 protected:
  app::VersionCheckRequest request(const std::string& version, const std::string& date) const {
    app::VersionCheckRequest r;
    r.localVersion = version;
    r.localVersionDate = date + "x";  // only the first 7 characters count
    r.caFile = (m_dir / "ca.pem").string();
    r.checkUrlOverride = url("/orbatt/ClientVersion.jsp");
    return r;
  }
  // Restarts the simulator with another online version.
  void serve(const std::string& version, const std::string& date) {
    m_server->stop();
    filing_server::ServerOptions options = m_server->options();
    options.version = version;
    options.versionDate = date;
    m_server = std::make_unique<filing_server::FilingServer>(options);
    m_server->start();
  }
};

TEST_F(VersionCheckTest, TheFourComparisonsAgainstTheServer) {
  const struct {
    const char* localVersion;
    const char* localDate;
    const char* onlineVersion;
    const char* onlineDate;
    const char* outcome;
  } cases[] = {
      {"105", "1080315", "1.05", "1080315", "目前已使用最新版本無需更新。"},
      {"105", "1080101", "1.05", "1080315", "線上版本已更新，請儘快更新版本。"},
      {"198", "1080315", "2.01", "1080315", "線上版本已更新，請重新下載完整申報程式。"},
      {"205", "1080101", "2.01", "1080315", "線上版本已更新，請儘快更新版本。"},
  };
  for (const auto& c : cases) {
    serve(c.onlineVersion, c.onlineDate);
    ScriptedInteraction interaction;
    auto r = request(c.localVersion, c.localDate);
    r.hosts.productionInformation = "info.example";
    r.hosts.productionReceipt = "receipt.example";
    r.sslIp = "RECEIPT.example";
    const auto outcome = app::runVersionCheck(r, interaction);
    EXPECT_EQ(outcome.outcomeLine, c.outcome) << c.localVersion;
    EXPECT_TRUE(interaction.messages().empty());
    EXPECT_EQ(outcome.onlineLine,
              std::string("線上最新版本：") + c.onlineVersion + "，版本日期：" + c.onlineDate);
    EXPECT_EQ(outcome.downloadUrl,
              outcome.updateNeeded ? "https://info.example/info_ORB_download.html?id=2" : "");
  }
}

TEST_F(VersionCheckTest, NotFoundMissingMarkersAndDebugMode) {
  // "404 Not Found" leaves both online values empty: the connection line, after the raw reply in
  // debug mode.
  setFault("not-found");
  ScriptedInteraction interaction;
  auto r = request("105", "1080315");
  r.debugMode = true;
  auto outcome = app::runVersionCheck(r, interaction);
  EXPECT_EQ(outcome.outcomeLine, "連線失敗，請檢查網路連線或設定！");
  EXPECT_EQ(outcome.onlineLine, "線上最新版本：.，版本日期：");
  EXPECT_FALSE(outcome.answered);
  ASSERT_EQ(interaction.messages().size(), 1U);
  EXPECT_TRUE(interaction.messages()[0].starts_with("Second Result Str="));
  EXPECT_NE(interaction.messages()[0].find("404 Not Found"), std::string::npos);

  // Without "VERSION DATE:" the date is read at the fixed place an absent marker gives; it is
  // no number, so only the version decides.
  setFault("clear");
  setFault("version-without-date");
  ScriptedInteraction quiet;
  outcome = app::runVersionCheck(request("104", "1080315"), quiet);
  EXPECT_TRUE(outcome.answered);
  EXPECT_EQ(outcome.outcomeLine, "線上版本已更新，請儘快更新版本。");
  EXPECT_TRUE(quiet.messages().empty());
}

TEST_F(VersionCheckTest, AnUnknownServerKindKeepsTheFirstTexts) {
  ScriptedInteraction interaction;
  auto r = request("105", "1080315");
  r.checkUrlOverride.reset();
  const auto outcome = app::runVersionCheck(r, interaction);
  EXPECT_EQ(interaction.messages(),
            std::vector<std::string>{"錯誤的 URL 型態，您輸入的 URL 為: \"  \" !!"});
  EXPECT_EQ(outcome.localLine, "目前使用版本：");
  EXPECT_EQ(outcome.outcomeLine, "目前已使用最新版本無需更新。");
  EXPECT_FALSE(outcome.answered);
}

struct CliOutcome {
  int code;
  std::string out;
  std::string err;
};

CliOutcome runCli(const std::vector<std::string>& args) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const int code = cli::runCli(args, in, out, err);
  return {code, out.str(), err.str()};
}

TEST_F(VersionCheckTest, CommandLineExitCodes) {
  const auto settings = m_dir.write(
      "settings.ini", "[Software\\Fiscus\\Orb]\r\nca_file=" + (m_dir / "ca.pem").string() + "\r\n");
  ::setenv("ATHUP_SETTINGS", settings.c_str(), 1);
  const std::string record = (m_dir / "no-record").string();  // missing: version 0
  const std::string versionUrl = url("/orbatt/ClientVersion.jsp");

  CliOutcome result = runCli({"version-check", "--url", versionUrl, "--record", record});
  EXPECT_EQ(result.code, 3) << result.err;
  EXPECT_NE(result.out.find("線上最新版本：1.05，版本日期：1080315\n"), std::string::npos);
  EXPECT_NE(result.out.find("線上版本已更新，請重新下載完整申報程式。\n"), std::string::npos);

  setFault("not-found");
  result = runCli({"version-check", "--url", versionUrl, "--record", record});
  EXPECT_EQ(result.code, 1);
  EXPECT_NE(result.err.find("連線失敗，請檢查網路連線或設定！"), std::string::npos);

  result = runCli({"version-check", "--record", record});  // ssl_ip names no server
  EXPECT_EQ(result.code, 1);
  EXPECT_NE(result.err.find("ssl_ip"), std::string::npos);
  ::unsetenv("ATHUP_SETTINGS");
}

}  // namespace
}  // namespace athup::testing
