#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/version_banner.h"
#include "cli/command.h"
#include "cli_run.h"
#include "support/temp_dir.h"

namespace athup::cli {
namespace {

TEST(VersionCli, BannerFromTheRecordOrTheBuildsVersion) {
  testing::TempDir dir;
  const std::string ini = dir.write("version.ini",
                                    "[Version]\r\nnow=105\r\n[VersionDate]\r\n"
                                    "date=1080315\r\n")
                              .string();
  ASSERT_EQ(runCaptured({"version-file", "encrypt", ini, (dir / "version").string()}).code,
            kExitOk);
  dir.write("broken", "not an encrypted record at all");
  struct Case {
    const char* file;
    std::string banner;
  } cases[] = {
      {"version", "athup Version 1.05\n版本日期：108年03月15日\n"},
      {"none", "athup 9.8.7 (the build's version; the version record \"" + (dir / "none").string() +
                   "\" is missing)\nversion date unknown\n"},
      {"broken",
       "athup 9.8.7 (the build's version; the version record \"" + (dir / "broken").string() +
           "\" cannot be read: 來源資料資料可能毀損(CRC ERROR)!!)\nversion date unknown\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::versionBanner("athup", dir / c.file, dir.path(), "9.8.7"), c.banner) << c.file;
  }
}

TEST(VersionCli, VersionOptionPrintsTwoLinesAndSucceeds) {
  const CliResult result = runCaptured({"--version"});
  EXPECT_EQ(result.code, kExitOk);
  EXPECT_TRUE(result.out.starts_with("athup-cli ")) << result.out;
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 2) << result.out;
  EXPECT_EQ(result.err, "");
}

}  // namespace
}  // namespace athup::cli
