#include "app/program_location.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace athup::app {
namespace {

namespace fs = std::filesystem;

TEST(ProgramLocationTest, WritesBesideAWritableProgramElseInTheUserStateFolder) {
  athup::testing::TempDir dir;
  Environment environment;
  environment.setHomeFolder(dir / "home");
  fs::create_directories(dir / "prefix" / "bin");

  const auto writable = locateProgram(dir / "prefix" / "bin", environment);
  EXPECT_EQ(writable.writableDir, dir / "prefix" / "bin");
  EXPECT_TRUE(fs::is_empty(dir / "prefix" / "bin"));  // the probe leaves nothing behind

  // A program folder that cannot take a file (here: not a folder at all).
  dir.write("ro/bin", "a file where the folder would be");
  const auto readOnly = locateProgram(dir / "ro" / "bin", environment);
  EXPECT_EQ(readOnly.writableDir, dir / "home" / ".local" / "state" / "fiscus" / "orb");
  EXPECT_TRUE(fs::is_directory(readOnly.writableDir));
  environment.setVariable("XDG_STATE_HOME", (dir / "state").string());
  EXPECT_EQ(locateProgram(dir / "ro" / "bin", environment).writableDir,
            dir / "state" / "fiscus" / "orb");
}

TEST(ProgramLocationTest, DeliveryFilesBesideTheProgramThenInTheShareFolder) {
  athup::testing::TempDir dir;
  const ProgramLocation program{dir / "prefix" / "bin", dir / "prefix" / "bin"};
  dir.write("prefix/share/athup/readme.txt", "shared");
  dir.write("prefix/share/athup/version", "shared");
  dir.write("prefix/bin/version", "beside");

  EXPECT_EQ(program.deliveryFile("version"), dir / "prefix" / "bin" / "version");
  EXPECT_EQ(program.deliveryFile("readme.txt"), dir / "prefix" / "share" / "athup" / "readme.txt");
  EXPECT_EQ(program.deliveryFile("Help"), dir / "prefix" / "bin" / "Help");  // nowhere
}

}  // namespace
}  // namespace athup::app
