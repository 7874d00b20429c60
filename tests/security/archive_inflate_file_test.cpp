#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "common/errors.h"
#include "security/archive/inflate_file.h"
#include "support/temp_dir.h"

namespace athup::security {
namespace {

namespace fs = std::filesystem;
using athup::testing::readFile;
using athup::testing::TempDir;

// Poorly compressible text, so a damaged stream cannot decode to the same bytes by chance.
std::string noise(std::size_t size) {
  std::string content;
  unsigned seed = 7;
  for (std::size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245U + 12345U;
    content += static_cast<char>('A' + (seed >> 16) % 26);
  }
  return content;
}

std::string deflated(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                      reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                      Z_BEST_COMPRESSION),
            Z_OK);
  out.resize(size);
  return out;
}

TEST(InflateFileTest, RestoresTheContentAndReplacesTheDestination) {
  TempDir dir;
  // Larger than one read block both ways.
  const std::string content = noise(300000);
  const auto source = dir.write("QueryResult.z", deflated(content));
  const auto destination = dir.write("result.txt", "old content that is longer than nothing");
  inflateFile(source, destination);
  EXPECT_EQ(readFile(destination), content);

  inflateFile(dir.write("empty.z", deflated("")), destination);
  EXPECT_EQ(readFile(destination), "");
}

TEST(InflateFileTest, FailuresRaiseAndLeaveNoPartialFile) {
  TempDir dir;
  const std::string good = deflated(noise(100000));
  struct Case {
    const char* name;
    std::string bytes;
  };
  std::string corrupt = good;
  corrupt[corrupt.size() / 2] = static_cast<char>(corrupt[corrupt.size() / 2] ^ 0x55);
  const Case cases[] = {
      {"not zlib", "plain text, not a stream"},
      {"cut short", good.substr(0, good.size() - 10)},
      {"damaged", corrupt},
      {"empty", ""},
  };
  for (const auto& c : cases) {
    const auto source = dir.write("in.z", c.bytes);
    EXPECT_THROW(inflateFile(source, dir / "out.txt"), Error) << c.name;
    EXPECT_FALSE(fs::exists(dir / "out.txt")) << c.name;
  }

  try {
    inflateFile(dir / "missing.z", dir / "out.txt");
    FAIL();
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "檔案讀取失敗");
  }
  EXPECT_THROW(inflateFile(dir.write("ok.z", good), dir / "no" / "such" / "folder.txt"), Error);
}

// Result files are inflated over the previous download: a bad one must not cost the good one.
TEST(InflateFileTest, AFailureLeavesTheExistingDestinationAsItWas) {
  const std::string good = deflated(noise(100000));
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"cut short", good.substr(0, good.size() - 10)},
      {"not zlib", "plain text, not a stream"},
      {"sound", good},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const auto destination = dir.write("out/result.txt", "previous result");
    fs::create_hard_link(destination, dir / "linked.txt");
    const bool sound = std::string(c.name) == "sound";
    if (sound) {
      inflateFile(dir.write("in.z", c.bytes), destination);
    } else {
      EXPECT_THROW(inflateFile(dir.write("in.z", c.bytes), destination), Error);
    }
    EXPECT_EQ(readFile(destination), sound ? noise(100000) : "previous result");
    EXPECT_EQ(readFile(dir / "linked.txt"), "previous result") << "never written through a link";
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(dir / "out")) {
      names.push_back(item.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"result.txt"}) << "no temporary file stays";
  }
}

}  // namespace
}  // namespace athup::security
