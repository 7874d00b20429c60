#include "app/shared_doc_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace athup::app {
namespace {

TEST(SharedDocDirTest, BaseFollowsTheEnvironmentAndTheSystemVersion) {
  testing::TempDir dir;
  const std::string profile = (dir / "ProgramData").string();
  const std::string publicDir = (dir / "Public").string();
  const std::string tail = "/Documents/fiscus/orb/";

  struct Case {
    const char* what;
    const char* allUsers;
    const char* windir;
    const char* os;
    bool profileHasFolder;
    std::string expected;
  };
  const Case cases[] = {
      {"no Windows variables: the home folder", "", "", "2-6.1.55", false, "/home/u" + tail},
      {"no ALLUSERSPROFILE: the system drive", "", "C:\\Windows", "2-6.1.7601", false, "C:" + tail},
      {"before NT 6: ALLUSERSPROFILE", "P", "", "2-5.1.2600", false, profile + tail},
      {"NT 6 with the folder under the profile", "P", "", "2-6.1.7601", true, profile + tail},
      {"NT 6 without it: PUBLIC", "P", "", "2-6.1.7601", false, publicDir + tail},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(profile);
    if (c.profileHasFolder) std::filesystem::create_directories(profile + tail);
    Environment environment;
    environment.setHomeFolder("/home/u");
    if (*c.allUsers) environment.setVariable("ALLUSERSPROFILE", profile);
    if (*c.windir) environment.setVariable("windir", c.windir);
    environment.setVariable("PUBLIC", publicDir);
    EXPECT_EQ(sharedDocDir(environment, c.os), c.expected);
  }
}

}  // namespace
}  // namespace athup::app
