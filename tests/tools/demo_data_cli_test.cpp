#include "demo_data/demo_data_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace athup::demodata {
namespace {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun run(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = runDemoDataCli(args, out, err);
  return {code, out.str(), err.str()};
}

TEST(DemoDataCli, WritesAndSummarises) {
  athup::testing::TempDir dir;
  const std::string doc = (dir / "doc").string();
  const CliRun result = run({"--doc-dir", doc, "--period", "11310", "--seed", "7", "--program-dir",
                             (dir / "program").string()});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_NE(result.out.find("period 11310 (filed in 11311), seed 7"), std::string::npos);
  EXPECT_NE(result.out.find("occurs twice"), std::string::npos);
  EXPECT_NE(result.out.find("ORBDB1_LAST_UPLOAD.DB"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "program" / "version"));
  // the summary names each filing file it wrote, and they are there
  const auto listed = result.out.find(".T02  ");
  ASSERT_NE(listed, std::string::npos);
  const std::string name = result.out.substr(listed - 8, 12);
  EXPECT_TRUE(std::filesystem::exists(dir / "doc" / "UpLoad" / "Default" / "11310" / name));
}

TEST(DemoDataCli, WrongArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--doc-dir", "/tmp/x"},
      {"--period", "11310"},
      {"--doc-dir", "/tmp/x", "--period", "11313"},
      {"--doc-dir", "/tmp/x", "--period", "113/10"},
      {"--doc-dir", "/tmp/x", "--period", "11310", "--seed", "-1"},
      {"--doc-dir", "/tmp/x", "--period", "11310", "--seed", "7x"},
      {"--doc-dir", "/tmp/x", "--period", "11310", "--colour", "red"},
      {"--doc-dir", "/tmp/x", "--period"},
  };
  for (const auto& args : cases) {
    const CliRun result = run(args);
    EXPECT_EQ(result.code, 2) << (args.empty() ? "(none)" : args.back());
    EXPECT_NE(result.err.find("usage: athup-demo-data"), std::string::npos);
    EXPECT_EQ(result.out, "");
  }
}

TEST(DemoDataCli, FailureExitsOneWithTheReason) {
  athup::testing::TempDir dir;
  const auto blocker = dir.write("doc", "a file where the folder should be");
  const CliRun result = run({"--doc-dir", blocker.string(), "--period", "11310"});
  EXPECT_EQ(result.code, 1);
  EXPECT_NE(result.err.find("athup-demo-data: "), std::string::npos);
  EXPECT_NE(result.err.find(blocker.string()), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace athup::demodata
