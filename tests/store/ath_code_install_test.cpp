#include "store/catalogue/ath_code_install.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/atomic_file.h"
#include "common/file_faults.h"
#include "support/temp_dir.h"

namespace athup::store {
namespace {

namespace fs = std::filesystem;
using athup::testing::readFile;
using athup::testing::TempDir;

constexpr const char* kTable = "ORBDB1_ATH_CODE.DB";

// A delivered category table under Docs/DB/code and an empty DB/code folder to install into.
struct Install {
  TempDir dir;
  fs::path docs = dir.write(std::string("Docs/DB/code/") + kTable, std::string(300 * 1024, 'c'))
                      .parent_path()
                      .parent_path()
                      .parent_path();
  fs::path code = [this] {
    fs::create_directories(dir / "DB" / "code");
    return dir / "DB" / "code";
  }();
  [[nodiscard]] bool run() const { return installCategoryTable((dir / "DB").string(), docs); }
};

std::size_t entriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A disk that fills at any step never leaves a partial table standing (later runs would take it
// for installed) nor a temporary file; the next run installs the whole table.
TEST(AthCodeInstall, AFullDiskLeavesNoTableAndNoTemporaryFile) {
  Install install;
  for (int failing = 1; failing <= 7; ++failing) {  // five blocks, sync, rename
    SCOPED_TRACE(failing);
    {
      const common::ScopedFileFault diskFull(failing);
      EXPECT_FALSE(install.run());
    }
    EXPECT_EQ(entriesIn(install.code), 0u);
  }
  EXPECT_TRUE(install.run());
  EXPECT_EQ(readFile(install.code / kTable), std::string(300 * 1024, 'c'));
  EXPECT_EQ(fs::status(install.code / kTable).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

// A link planted at the name the copy used to be written under does not redirect the table.
TEST(AthCodeInstall, APlantedLinkDoesNotRedirectTheCopy) {
  Install install;
  const auto victim = install.dir.write("victim", "not yours");
  fs::create_symlink(victim, install.code / (std::string(kTable) + ".part"));
  EXPECT_TRUE(install.run());
  EXPECT_EQ(readFile(victim), "not yours");
  EXPECT_FALSE(fs::is_symlink(install.code / kTable));
  EXPECT_EQ(readFile(install.code / kTable), std::string(300 * 1024, 'c'));
}

}  // namespace
}  // namespace athup::store
