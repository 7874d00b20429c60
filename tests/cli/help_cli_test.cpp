#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/command.h"
#include "cli_run.h"

namespace athup::cli {
namespace {

// One style for every command: a synopsis line "  athup-cli ...", then its description indented
// by six, a sentence that starts with a capital letter and ends with a full stop.
TEST(HelpCli, EveryCommandIsDescribedAlike) {
  const CliResult help = runCaptured({"--help"});
  ASSERT_EQ(help.code, kExitOk);
  const auto begin = help.out.find("Usage:\n");
  const auto end = help.out.find("\n\nExit codes");
  ASSERT_NE(begin, std::string::npos);
  ASSERT_NE(end, std::string::npos);
  std::istringstream lines(help.out.substr(begin + 7, end - begin - 7 + 1));
  std::string line;
  std::string description;
  int synopses = 0;
  const auto checkDescription = [&](const std::string& synopsis) {
    SCOPED_TRACE(synopsis);
    ASSERT_FALSE(description.empty());
    EXPECT_TRUE(description[0] >= 'A' && description[0] <= 'Z') << description;
    EXPECT_EQ(description.back(), '.') << description;
  };
  std::string synopsis;
  while (std::getline(lines, line)) {
    if (line.starts_with("  athup-cli ")) {
      if (!synopsis.empty()) checkDescription(synopsis);
      synopsis = line;
      description.clear();
      ++synopses;
    } else {
      ASSERT_TRUE(line.starts_with("      ") && line[6] != ' ') << line;
      description += (description.empty() ? "" : " ") + line.substr(6);
    }
  }
  checkDescription(synopsis);
  EXPECT_GE(synopses, 12) << help.out;  // every command, --help and --version
  EXPECT_NE(help.out.find("  athup-cli --version\n"), std::string::npos);
}

}  // namespace
}  // namespace athup::cli
