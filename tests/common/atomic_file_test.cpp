#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/big5_text_file.h"
#include "common/errors.h"
#include "common/file_faults.h"
#include "common/ini_file.h"
#include "common/private_folder.h"
#include "common/whole_file.h"
#include "support/temp_dir.h"

namespace athup::common {
namespace {

namespace fs = std::filesystem;
using athup::testing::readFile;
using athup::testing::TempDir;

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

fs::perms modeOf(const fs::path& path) {
  return fs::symlink_status(path).permissions();
}

constexpr fs::perms kPrivateFile = fs::perms::owner_read | fs::perms::owner_write;

TEST(AtomicFile, PrivateNewFilesKeptModesAndNoLinkFollowed) {
  struct Case {
    const char* what;
    bool existing;
    fs::perms existingMode;
    bool linkAtTarget;
    fs::perms expectedMode;
  };
  const Case cases[] = {
      {"a new file is private", false, {}, false, kPrivateFile},
      {"a replaced file keeps its mode", true, fs::perms(0644), false, fs::perms(0644)},
      {"a replaced read-only file keeps its mode", true, fs::perms(0440), false, fs::perms(0440)},
      {"a link at the target is replaced, not written through", false, {}, true, kPrivateFile},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const auto target = dir / "out.bin";
    const auto victim = dir.write("victim", "someone else's");
    if (c.existing) {
      dir.write("out.bin", "old");
      fs::permissions(target, c.existingMode);
    }
    if (c.linkAtTarget) fs::create_symlink(victim, target);
    writeFileAtomically(target, "new bytes");
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(readFile(target), "new bytes");
    EXPECT_EQ(modeOf(target), c.expectedMode);
    EXPECT_EQ(readFile(victim), "someone else's");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"out.bin", "victim"}));
  }
}

TEST(AtomicFile, StreamsAndDiscardsWithoutCommit) {
  TempDir dir;
  const auto target = dir.write("data", "before");
  {
    AtomicFile file(target);
    EXPECT_TRUE(file.temporaryPath().filename().string().starts_with(kTemporaryFilePrefix));
    file.write("half");
  }  // no commit: nothing changes
  EXPECT_EQ(readFile(target), "before");
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"data"});

  AtomicFile file(target);
  const std::string big(200 * 1024, 'x');  // more than one block
  file.write(big);
  file.write("!");
  file.commit();
  EXPECT_EQ(readFile(target), big + "!");
  EXPECT_THROW(file.commit(), Error);  // once only
  EXPECT_EQ(readFile(target), big + "!");
}

TEST(AtomicFile, AMissingFolderOrUnwritableTargetThrows) {
  TempDir dir;
  try {
    writeFileAtomically(dir / "no-folder" / "x", "bytes");
    ADD_FAILURE() << "wrote into a missing folder";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "無法建立檔案 \"" + (dir / "no-folder" / "x").string() + "\"。");
  }
  fs::create_directory(dir / "folder");
  EXPECT_THROW(writeFileAtomically(dir / "folder", "bytes"), Error);  // rename over a folder
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"folder"});
}

// A disk that fills at any step of a save leaves the previous file byte for byte and nothing of
// ours beside it. Written in place, the first failed write would already have cut the file.
TEST(FileFaults, AFullDiskDuringAnIniSaveKeepsThePreviousFile) {
  TempDir dir;
  const std::string previous = "[OwnerPath]\r\nDbPath=C:\\old\\\r\n";
  const auto path = dir.write("settings.ini", previous);
  IniFile ini = IniFile::load(path);
  ini.writeString("OwnerPath", "DbPath", std::string(100 * 1024, 'n'));  // two blocks
  for (int failing = 1; failing <= 4; ++failing) {  // write, write, sync, rename
    SCOPED_TRACE(failing);
    {
      const ScopedFileFault diskFull(failing);
      EXPECT_THROW(ini.saveTo(path), Error);
    }
    EXPECT_EQ(readFile(path), previous);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"settings.ini"});
  }
  ini.saveTo(path);  // disarmed: the seam is inert
  EXPECT_EQ(readFile(path), ini.text());
}

TEST(FileFaults, InertUntilArmedAndStaysFailedOnceFailed) {
  EXPECT_FALSE(FileFaults::nextOperationFails());
  const ScopedFileFault fault(2);
  EXPECT_FALSE(FileFaults::nextOperationFails());
  EXPECT_TRUE(FileFaults::nextOperationFails());
  EXPECT_TRUE(FileFaults::nextOperationFails());
}

TEST(PrivateFolder, NewFoldersAreOwnerOnly) {
  TempDir dir;
  createPrivateFolder(dir / "a" / "b");
  EXPECT_EQ(modeOf(dir / "a"), fs::perms::owner_all);
  EXPECT_EQ(modeOf(dir / "a" / "b"), fs::perms::owner_all);
  createPrivateFolder(dir / "a" / "b");  // existing: fine
  dir.write("file", "x");
  EXPECT_THROW(createPrivateFolder(dir / "file"), Error);

  fs::path made;
  {
    PrivateTempFolder temp("athup-test-private-");
    made = temp.path();
    EXPECT_EQ(modeOf(made), fs::perms::owner_all);
    writeFileAtomically(made / "work", "w");
  }
  EXPECT_FALSE(fs::exists(made));
}

TEST(WholeFile, ReadsBytesAndNamesWhatFailed) {
  TempDir dir;
  const std::string bytes("a\0b\r\n\xFF", 6);
  EXPECT_EQ(readWholeFile(dir.write("bin", bytes)), bytes);
  const std::pair<fs::path, std::string> failures[] = {
      {dir / "missing", "無法開啟檔案"},
      {dir.path(), "無法讀取檔案"},  // a folder opens but does not read
  };
  for (const auto& [path, text] : failures) {
    try {
      (void)readWholeFile(path);
      ADD_FAILURE() << path;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), text + " \"" + path.string() + "\"。");
    }
  }
}

TEST(Big5TextFile, OneByteOrderMarkRule) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xA4\xBD\xA7\x69", "公告"},  // Big5
      {"\xEF\xBB\xBF公告", "公告"},  // UTF-8 with its mark
      {"", ""},
      {"\xEF\xBB", "嚜"},  // half a mark is no mark: Big5
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(textFromFileBytes(bytes), text);

  TempDir dir;
  const auto path = dir / "report.txt";
  writeBig5TextFile(path, "公告\r\n");
  EXPECT_EQ(readFile(path), "\xA4\xBD\xA7\x69\r\n");
  EXPECT_EQ(readBig5TextFile(path), "公告\r\n");
  EXPECT_THROW(writeBig5TextFile(path, "\xF0\x9F\x98\x80"), Error);  // no Big5 for an emoji
  EXPECT_EQ(readFile(path), "\xA4\xBD\xA7\x69\r\n");
}

}  // namespace
}  // namespace athup::common
