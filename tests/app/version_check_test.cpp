#include "app/version_check.h"

#include <gtest/gtest.h>

namespace athup::app {
namespace {

TEST(VersionCheck, FormatVersionByLength) {
  const std::pair<const char*, const char*> cases[] = {
      {"95", "9.05"}, {"105", "1.05"}, {"1234", "12.34"},
      {"5", "5."},    {"", "."},       {"12345", "12.34"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(formatVersion(in), out) << in;
}

TEST(VersionCheck, ParseVersionAnswerReadsFixedWidthsAfterTheMarkers) {
  OnlineVersion v = parseVersionAnswer("VERSION:1.05\r\nVERSION DATE:1080315\r\n");
  EXPECT_EQ(v.gOnlineVersion, "105");
  EXPECT_EQ(v.gOnlineVersionDate, "1080315");
  v = parseVersionAnswer("<html>VERSION:2.1 \nVERSION DATE:1130102</html>");
  EXPECT_EQ(v.gOnlineVersion, "21");
  EXPECT_EQ(v.gOnlineVersionDate, "1130102");
  v = parseVersionAnswer("<h1>404 Not Found</h1>VERSION:1.05 VERSION DATE:1080315");
  EXPECT_EQ(v.gOnlineVersion, "");
  EXPECT_EQ(v.gOnlineVersionDate, "");
  // Without markers the fixed positions give whatever stands there.
  v = parseVersionAnswer("abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(v.gOnlineVersion, "hijk");
  EXPECT_EQ(v.gOnlineVersionDate, "mnopqrs");
  v = parseVersionAnswer("");
  EXPECT_EQ(v.gOnlineVersion, "");
}

TEST(VersionCheck, ServerKindAndAddresses) {
  const upload::ServerHosts hosts{"filing.prod", "filing.test", "ssl.prod",
                                  "ssl.test",    "info.prod",   "info.test"};
  EXPECT_EQ(getServerKind("SSL.PROD", hosts), 1);
  EXPECT_EQ(getServerKind("ssl.test", hosts), 2);
  EXPECT_EQ(getServerKind("", hosts), 0);
  EXPECT_EQ(getServerKind("ssl.prod ", hosts), 0);
  EXPECT_EQ(versionCheckAddresses(1, hosts).checkUrl,
            "https://filing.prod/orbatt/ClientVersion.jsp");
  EXPECT_EQ(versionCheckAddresses(2, hosts).downloadUrl,
            "https://info.test/info_ORB_download.html?id=2");
  EXPECT_EQ(versionCheckAddresses(0, hosts).checkUrl, "");
}

TEST(VersionCheck, TheComparisonCases) {
  const struct {
    const char* localVersion;
    const char* localDate;
    const char* onlineVersion;
    const char* onlineDate;
    const char* outcome;
    bool update;
  } cases[] = {
      {"105", "1080315", "105", "1080315", "目前已使用最新版本無需更新。", false},
      {"105", "1080101", "105", "1080315", "線上版本已更新，請儘快更新版本。", true},
      {"198", "1080315", "201", "1080315", "線上版本已更新，請重新下載完整申報程式。", true},
      {"205", "1080101", "201", "1080315", "線上版本已更新，請儘快更新版本。", true},
      {"105", "1080315", "", "", "連線失敗，請檢查網路連線或設定！", false},
  };
  for (const auto& c : cases) {
    const VersionCheckOutcome o =
        compareVersions(c.localVersion, c.localDate, {c.onlineVersion, c.onlineDate}, "DL");
    EXPECT_EQ(o.outcomeLine, c.outcome) << c.localVersion << "/" << c.onlineVersion;
    EXPECT_EQ(o.updateNeeded, c.update);
    EXPECT_EQ(o.downloadUrl, c.update ? "DL" : "");
  }
  const VersionCheckOutcome o = compareVersions("105", "1080315", {"105", "1080315"}, "DL");
  EXPECT_EQ(o.localLine, "目前使用版本：1.05，版本日期：1080315");
  EXPECT_EQ(o.onlineLine, "線上最新版本：1.05，版本日期：1080315");
  // A record that is not a number counts 0.
  EXPECT_EQ(compareVersions("xxxx", "xxxxxxx", {"105", "1080315"}, "").localLine,
            "目前使用版本：0.，版本日期：xxxxxxx");
}

}  // namespace
}  // namespace athup::app
