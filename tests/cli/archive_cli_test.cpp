#include <gtest/gtest.h>
#include <zlib.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/command.h"
#include "cli_run.h"
#include "common/stale_temporary_files.h"
#include "security/archive/archive.h"
#include "support/temp_dir.h"

namespace athup::cli {
namespace {

std::string crcText(const std::string& bytes) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X",
                static_cast<unsigned>(
                    crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size())));
  return text;
}

std::vector<std::string> fieldsOf(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream words(line);
  for (std::string word; words >> word;) fields.push_back(word);
  return fields;
}

TEST(ArchiveCli, PackListExtractRoundTrip) {
  testing::TempDir dir;
  const std::string first(40000, 'a');
  const std::string second = "發票 second file";
  const std::string archive = (dir / "pack.zip").string();
  struct Case {
    std::vector<std::string> levelArgs;
    std::string ordinal;
  };
  const Case cases[] = {{{}, "3"},
                        {{"--level", "none"}, "0"},
                        {{"--level=fastest"}, "1"},
                        {{"--level", "default"}, "2"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ordinal);
    std::filesystem::remove(archive);
    std::vector<std::string> pack = {"archive", "pack"};
    pack.insert(pack.end(), c.levelArgs.begin(), c.levelArgs.end());
    pack.insert(pack.end(), {archive, dir.write("in/first.txt", first).string(),
                             dir.write("in/第二.txt", second).string()});
    const CliResult packed = runCaptured(pack);
    ASSERT_EQ(packed.code, kExitOk) << packed.err;
    EXPECT_EQ(packed.out + packed.err, "");

    const CliResult listed = runCaptured({"archive", "list", archive});
    ASSERT_EQ(listed.code, kExitOk) << listed.err;
    std::istringstream lines(listed.out);
    std::string line0;
    std::string line1;
    std::getline(lines, line0);
    std::getline(lines, line1);
    const auto a = fieldsOf(line0);
    const auto b = fieldsOf(line1);
    ASSERT_EQ(a.size(), 7u) << line0;
    ASSERT_EQ(b.size(), 7u) << line1;
    EXPECT_EQ(line0, "0 first.txt 40000 " + a[3] + " 0 " + crcText(first) + " " + c.ordinal);
    EXPECT_EQ(line1, "1 第二.txt " + std::to_string(second.size()) + " " + b[3] + " " + a[3] + " " +
                         crcText(second) + " " + c.ordinal)
        << "the second entry starts where the first one's stored bytes end";
    EXPECT_TRUE(lines.peek() == EOF);

    const std::string out = (dir / "out" / c.ordinal).string();
    const CliResult extracted = runCaptured({"archive", "extract", archive, out});
    ASSERT_EQ(extracted.code, kExitOk) << extracted.err;
    EXPECT_EQ(testing::readFile(out + "/first.txt"), first);
    EXPECT_EQ(testing::readFile(out + "/第二.txt"), second);
  }
}

TEST(ArchiveCli, FailuresPrintTheComponentTextAndExitOne) {
  testing::TempDir dir;
  const std::string file = dir.write("doc.txt", "document").string();
  const std::string existing = dir.write("existing.zip", "not mine").string();
  const std::string partial = (dir / "partial.zip").string();
  const std::string missing = (dir / "missing.txt").string();

  CliResult result = runCaptured({"archive", "pack", existing, file});
  EXPECT_EQ(result.code, kExitFailure);
  EXPECT_EQ(result.err, "File already exists\n");
  EXPECT_EQ(testing::readFile(existing), "not mine");

  result = runCaptured({"archive", "pack", partial, file, missing});
  EXPECT_EQ(result.code, kExitFailure);
  EXPECT_EQ(result.err, "Unable to open file (" + missing + ")\n");
  EXPECT_FALSE(std::filesystem::exists(partial)) << "a failed pack leaves no half archive";

  ASSERT_EQ(runCaptured({"archive", "pack", partial, file}).code, kExitOk);
  std::string bytes = testing::readFile(partial);
  bytes[0] = static_cast<char>(bytes[0] ^ 0x20);
  dir.write("partial.zip", bytes);
  for (const char* action : {"list", "extract"}) {
    std::vector<std::string> argv = {"archive", action, partial};
    if (std::string(action) == "extract") argv.push_back((dir / "out").string());
    result = runCaptured(argv);
    EXPECT_EQ(result.code, kExitFailure) << action;
    EXPECT_EQ(result.err, "The archive file appears to be corrupted\n") << action;
  }
  result = runCaptured({"archive", "list", (dir / "none.zip").string()});
  EXPECT_EQ(result.err, "Archive file not found\n");
}

#ifndef _WIN32
TEST(ArchiveCli, AControlCharacterInANameCannotForgeAListLine) {
  testing::TempDir dir;
  const std::string archive = (dir / "a.zip").string();
  const std::string forged = "x\n1 fake.txt 1 1 0 00000000 3";
  ASSERT_EQ(runCaptured({"archive", "pack", archive, dir.write(forged, "data").string()}).code,
            kExitOk);
  const CliResult listed = runCaptured({"archive", "list", archive});
  ASSERT_EQ(listed.code, kExitOk) << listed.err;
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 1) << listed.out;
  EXPECT_TRUE(listed.out.starts_with("0 x?1 fake.txt 1 1 0 00000000 3 4 ")) << listed.out;
  EXPECT_TRUE(listed.out.ends_with(" 0 " + crcText("data") + " 3\n")) << listed.out;
}
#endif

TEST(ArchiveCli, ExtractReplacesAnExistingFileOnlyWithOverwrite) {
  struct Case {
    const char* what;
    bool existing;
    std::vector<std::string> flags;
    int code;
  };
  const Case cases[] = {
      {"nothing in the way", false, {}, kExitOk},
      {"an existing file", true, {}, kExitFailure},
      {"an existing file, --overwrite", true, {"--overwrite"}, kExitOk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDir dir;
    const std::string archive = (dir / "a.zip").string();
    ASSERT_EQ(runCaptured({"archive", "pack", archive, dir.write("in/a.txt", "new a").string(),
                           dir.write("in/b.txt", "new b").string()})
                  .code,
              kExitOk);
    if (c.existing) dir.write("out/b.txt", "old b");
    std::vector<std::string> argv = {"archive", "extract"};
    argv.insert(argv.end(), c.flags.begin(), c.flags.end());
    argv.insert(argv.end(), {archive, (dir / "out").string()});
    const CliResult result = runCaptured(argv);
    EXPECT_EQ(result.code, c.code) << result.err;
    if (c.code == kExitOk) {
      EXPECT_EQ(testing::readFile(dir / "out/a.txt"), "new a");
      EXPECT_EQ(testing::readFile(dir / "out/b.txt"), "new b");
    } else {
      EXPECT_EQ(result.err, "File already exists (" + (dir / "out/b.txt").string() +
                                "); give --overwrite to replace it\n");
      EXPECT_EQ(testing::readFile(dir / "out/b.txt"), "old b");
      EXPECT_FALSE(std::filesystem::exists(dir / "out/a.txt")) << "refused before any write";
    }
  }
}

#ifndef _WIN32
// A pack killed at any moment leaves either no archive at its name or a whole, valid one; what
// it leaves behind never stops the next run.
TEST(ArchiveCli, APackKilledAtAnyMomentLeavesNoArchiveOrAWholeOne) {
  namespace fs = std::filesystem;
  testing::TempDir dir;
  std::vector<std::string> pack = {"archive", "pack", "--level", "fastest",
                                   (dir / "out" / "a.zip").string()};
  std::mt19937 random(20240607);
  constexpr int kFiles = 8;
  for (int i = 0; i < kFiles; ++i) {
    std::string content(1 << 20, '\0');
    for (char& c : content) c = static_cast<char>(random() % 64);  // compresses, but not to nothing
    pack.push_back(dir.write("in/f" + std::to_string(i) + ".bin", content).string());
  }
  fs::create_directories(dir / "out");
  const fs::path archive = dir / "out" / "a.zip";

  // how long an undisturbed pack takes, so the kills spread over all of it
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(runCaptured(pack).code, kExitOk);
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  fs::remove(archive);

  const auto checkWhole = [&] {
    security::Archive reader;
    reader.setCheckCrc(true);
    ASSERT_TRUE(reader.open(archive));
    ASSERT_EQ(reader.entryCount(), kFiles);
    reader.extractAll(dir / "check");
    fs::remove_all(dir / "check");
  };
  int whole = 0;
  int none = 0;
  for (int run = 0; run < 30; ++run) {
    SCOPED_TRACE(run);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::istringstream in;
      std::ostringstream out;
      std::ostringstream err;
      _exit(runCli(pack, in, out, err));
    }
    const auto delay = std::uniform_int_distribution<long long>(0, took.count() * 5 / 4)(random);
    std::this_thread::sleep_for(std::chrono::microseconds(delay));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (fs::exists(archive)) {
      checkWhole();
      ++whole;
      fs::remove(archive);
    } else {
      ++none;
    }
    // the next run succeeds whatever this one left behind
    if (run % 10 == 9) {
      ASSERT_EQ(runCaptured(pack).code, kExitOk);
      checkWhole();
      fs::remove(archive);
    }
  }
  EXPECT_GT(none, 0) << "no kill landed while packing";
  // what the kills left are our temporary files only, and a start-up removes them
  for (const auto& item : fs::directory_iterator(dir / "out")) {
    EXPECT_TRUE(item.path().filename().string().starts_with(".athup-tmp-"))
        << item.path().filename();
  }
  common::removeStaleTemporaryFiles(dir / "out", std::chrono::seconds(0));
  EXPECT_TRUE(fs::is_empty(dir / "out"));
  std::cout << "[ pack kills ] " << none << " left no archive, " << whole << " a whole one\n";
}
#endif

TEST(ArchiveCli, WrongArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"archive"},
      {"archive", "unpack", "a.zip"},
      {"archive", "pack", "a.zip"},
      {"archive", "pack", "--level", "huge", "a.zip", "b"},
      {"archive", "pack", "--level"},
      {"archive", "list"},
      {"archive", "extract", "a.zip"},
      {"archive", "extract", "--force", "a.zip", "out"},
  };
  for (const auto& argv : cases) {
    const CliResult result = runCaptured(argv);
    EXPECT_EQ(result.code, kExitUsage) << argv.back();
    EXPECT_NE(result.err.find("Usage:"), std::string::npos);
  }
}

}  // namespace
}  // namespace athup::cli
