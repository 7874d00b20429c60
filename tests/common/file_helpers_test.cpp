#include "common/file_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_dir.h"

namespace athup::common {
namespace {

std::string sep() {
  return std::string(1, kPathSeparator);
}

TEST(PathTexts, SeparatorAndExtension) {
  EXPECT_EQ(withTrailingSeparator(""), "");
  EXPECT_EQ(withTrailingSeparator("data"), "data" + sep());
  EXPECT_EQ(withTrailingSeparator("data" + sep()), "data" + sep());

  const std::pair<const char*, const char*> extensions[] = {
      {"04595257113030.prn", "prn"},
      {"a.b.dprn", "dprn"},    // the last dot counts
      {"a.txtlong", "txtlo"},  // p = 2, so at most 5 bytes follow
      {"x.", ""},
      {"README", "RE"},  // no dot: the first two characters
      {"營業稅", "營"},  // two Big5 bytes are one character
  };
  for (const auto& [name, expected] : extensions)
    EXPECT_EQ(textAfterLastDot(name), expected) << name;
}

TEST(FolderFiles, ListsPlainVisibleFilesAndDeletesByFilter) {
  testing::TempDir dir;
  dir.write("A1.prn", "1");
  dir.write("A2.dprn", "2");
  dir.write("B1.prn", "3");
  dir.write(".hidden.prn", "4");
  dir.write("sub/inner.prn", "5");
  const std::string folder = withTrailingSeparator(utf8FromPath(dir.path()));

  auto files = listFilesInFolder(folder);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files,
            (std::vector<std::string>{folder + "A1.prn", folder + "A2.dprn", folder + "B1.prn"}));

  std::vector<std::string> list = {"stale"};
  listFilesInFolder(folder, &list);
  EXPECT_EQ(list.size(), 3u);
  listFilesInFolder(folder, nullptr);  // an absent list is left alone
  EXPECT_TRUE(listFilesInFolder(folder + "missing" + sep()).empty());

  EXPECT_EQ(deleteFilesInFolder(folder, ".dprn"), 0u);
  EXPECT_FALSE(std::filesystem::exists(dir / "A2.dprn"));
  EXPECT_TRUE(std::filesystem::exists(dir / "A1.prn"));

  EXPECT_EQ(deleteFilesInFolder(folder, "  "), 0u);  // a blank filter takes every listed file
  EXPECT_FALSE(std::filesystem::exists(dir / "A1.prn"));
  EXPECT_FALSE(std::filesystem::exists(dir / "B1.prn"));
  EXPECT_TRUE(std::filesystem::exists(dir / ".hidden.prn"));
  EXPECT_TRUE(std::filesystem::exists(dir / "sub/inner.prn"));
  EXPECT_EQ(deleteFilesInFolder(folder + "missing" + sep(), ""), 0u);
}

TEST(FolderFiles, ChineseNamesSurviveTheRoundTrip) {
  testing::TempDir dir;
  dir.write("營業稅.pdf", "x");
  const std::string folder = withTrailingSeparator(utf8FromPath(dir.path()));
  EXPECT_EQ(listFilesInFolder(folder), (std::vector<std::string>{folder + "營業稅.pdf"}));
  EXPECT_EQ(fileSizeOf(folder + "營業稅.pdf"), 1u);
}

TEST(fileSizeOf, MeasuresFilesBeyondTwoGigabytes) {
  testing::TempDir dir;
  const auto big = dir.write("big.bin", "");
  constexpr std::uint64_t kSize = 3ULL * 1024 * 1024 * 1024 + 5;  // sparse: costs no disk space
  std::filesystem::resize_file(big, kSize);
  EXPECT_EQ(fileSizeOf(utf8FromPath(big)), kSize);
  EXPECT_EQ(fileSizeOf(utf8FromPath(dir / "missing.bin")), 0u);
  EXPECT_EQ(fileSizeOf(utf8FromPath(dir.path())), 0u);  // a folder is not a file
}

}  // namespace
}  // namespace athup::common
