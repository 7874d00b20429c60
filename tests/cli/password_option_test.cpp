#include "cli/password_option.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace athup::cli {
namespace {

// The commands that carry account secrets take only the file and standard-input forms.
TEST(PasswordOption, FileAndStdinOnlyRefusesAVisiblePassword) {
  const std::vector<std::string> visible{"--password", "secret"};
  const std::vector<std::string> visibleJoined{"--password=secret"};
  for (const auto& args : {visible, visibleJoined}) {
    PasswordOption option(PasswordOption::Forms::FileAndStdinOnly);
    std::size_t i = 0;
    EXPECT_THROW((void)option.take(args, i), UsageError) << args[0];
  }
  PasswordOption option(PasswordOption::Forms::FileAndStdinOnly);
  const std::vector<std::string> fromStdin{"FILE", "--password", "-"};
  std::size_t i = 0;
  EXPECT_FALSE(option.take(fromStdin, i));  // not an option: left for the caller
  i = 1;
  ASSERT_TRUE(option.take(fromStdin, i));
  EXPECT_EQ(i, 2u);  // on the value; the caller's loop steps past it
  std::istringstream in("pin\r\n");
  EXPECT_EQ(option.read(in), "pin");
  EXPECT_EQ(std::string(PasswordOption::helpLines(PasswordOption::Forms::FileAndStdinOnly))
                .find("--password P"),
            std::string::npos);
}

}  // namespace
}  // namespace athup::cli
