#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/stale_temporary_files.h"
#include "security/archive/archive.h"
#include "security/archive/archive_layout.h"
#include "security/archive/extract_path.h"
#include "support/temp_dir.h"

namespace athup::security {
namespace {

namespace fs = std::filesystem;
using athup::testing::readFile;
using athup::testing::TempDir;

// The text of the athup::Error a call raises, or a marker when it raises none.
std::string errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& e) {
    return e.what();
  }
  return "<no error>";
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t crcOf(std::string_view bytes) {
  return static_cast<std::uint32_t>(
      crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

std::string zlibOf(const std::string& content) {
  uLongf size = compressBound(static_cast<uLong>(content.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(content.data()), static_cast<uLong>(content.size()), 9);
  out.resize(size);
  return out;
}

// Recomputes the trailer checksum after a test changed bytes on purpose.
void fixTrailerCrc(std::string& archive) {
  const std::uint32_t crc = crcOf(std::string_view(archive).substr(0, archive.size() - 36));
  for (int i = 0; i < 4; ++i) archive[archive.size() - 36 + i] = static_cast<char>(crc >> (8 * i));
}

// An archive built by hand, for records the component would never write itself.
struct Crafted {
  std::string big5Name;
  std::string big5Folder;
  std::string content;
  std::optional<std::uint32_t> crc;  // default: the content's
  std::optional<std::string> data;   // default: zlib of the content
};

std::string craftArchive(const std::vector<Crafted>& entries) {
  std::string bytes;
  std::string records;
  for (const Crafted& entry : entries) {
    const std::string data = entry.data ? *entry.data : zlibOf(entry.content);
    ArchiveEntry numbers;
    numbers.uncompressedSize = static_cast<std::uint32_t>(entry.content.size());
    numbers.compressedSize = static_cast<std::uint32_t>(data.size());
    numbers.dataOffset = static_cast<std::uint32_t>(bytes.size());
    numbers.crc32 = entry.crc ? *entry.crc : crcOf(entry.content);
    numbers.compressionLevel = 3;
    const auto record = zlb::encodeRecord(entry.big5Name, entry.big5Folder, numbers);
    records.append(reinterpret_cast<const char*>(record.data()), record.size());
    bytes += data;
  }
  zlb::Trailer trailer;
  trailer.count = static_cast<std::int32_t>(entries.size());
  trailer.registryOffset = static_cast<std::int32_t>(bytes.size());
  const std::string registry = zlibOf(records);
  trailer.registryLength = static_cast<std::uint32_t>(registry.size());
  bytes += registry;
  trailer.crc = crcOf(bytes);
  const auto image = zlb::encodeTrailer(trailer);
  bytes.append(reinterpret_cast<const char*>(image.data()), image.size());
  return bytes;
}

std::set<std::string> filesBelow(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (!item.is_directory()) names.insert(item.path().lexically_relative(folder).generic_string());
  }
  return names;
}

std::string noise(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

TEST(ArchiveContainer, PacksAndExtractsBigFiveNamesEmptyAndLargeFiles) {
  TempDir dir;
  struct File {
    std::string name;
    std::string content;
  };
  // 許 ends in the byte of a backslash in Big5: it must survive as part of the name
  const std::vector<File> files = {{"empty.txt", ""},
                                   {"許可證.pdf", "%PDF-1.4 license"},
                                   {"scan.bin", noise(300000, 1)},
                                   {"發票.txt", std::string(200000, 'x')}};
  Archive archive;
  archive.setCompressionLevel(CompressionLevel::Maximum);
  archive.create(dir / "pack.zip");
  for (const File& file : files) archive.addFile(dir.write("in/" + file.name, file.content));
  ASSERT_EQ(archive.entryCount(), 4);
  EXPECT_EQ(archive.entry(1).fileName, "許可證.pdf");
  EXPECT_EQ(archive.entry(0).uncompressedSize, 0u);
  EXPECT_EQ(archive.indexOfFile(dir / "elsewhere" / "SCAN.BIN"), 2)
      << "key is the name alone, any case";
  EXPECT_EQ(archive.indexOfFile(dir / "other.bin"), -1);
  archive.close();

  Archive reader;
  reader.setCheckCrc(true);
  ASSERT_TRUE(reader.open(dir / "pack.zip"));
  reader.extractAll(dir / "out");
  for (const File& file : files) {
    SCOPED_TRACE(file.name);
    EXPECT_EQ(readFile(dir / "out" / fs::path(std::u8string(file.name.begin(), file.name.end()))),
              file.content);
  }
  EXPECT_EQ(filesBelow(dir / "out").size(), files.size());
}

TEST(ArchiveContainer, AddingToAnExistingArchiveKeepsItsEntriesByteForByte) {
  TempDir dir;
  Archive archive;
  archive.create(dir / "a.zip");
  archive.addFile(dir.write("one.txt", "first file"));
  const std::string before = readFile(dir / "a.zip");
  const std::uint32_t firstRegistry = static_cast<std::uint32_t>(archive.entry(0).compressedSize);

  Archive later;
  ASSERT_TRUE(later.open(dir / "a.zip"));
  later.addFile(dir.write("two.txt", "second file"));
  const std::string after = readFile(dir / "a.zip");
  EXPECT_EQ(after.substr(0, firstRegistry), before.substr(0, firstRegistry));
  ASSERT_EQ(later.entryCount(), 2);
  EXPECT_EQ(later.entry(1).dataOffset, firstRegistry);

  later.setCheckCrc(true);
  later.extractAll(dir / "out");
  EXPECT_EQ(readFile(dir / "out/one.txt"), "first file");
  EXPECT_EQ(readFile(dir / "out/two.txt"), "second file");
}

TEST(ArchiveContainer, AnyChangedByteBeforeTheTrailerIsCorruption) {
  TempDir dir;
  Archive archive;
  archive.create(dir / "a.zip");
  archive.addFile(dir.write("doc.txt", std::string(5000, 'd')));
  archive.close();
  const std::string good = readFile(dir / "a.zip");
  const std::size_t positions[] = {0, 10, good.size() - 40, good.size() - 37};
  for (const std::size_t at : positions) {
    SCOPED_TRACE(at);
    std::string bad = good;
    bad[at] = static_cast<char>(bad[at] ^ 0x01);
    writeBytes(dir / "bad.zip", bad);
    Archive reader;
    EXPECT_EQ(errorOf([&] { (void)reader.open(dir / "bad.zip"); }),
              "The archive file appears to be corrupted");
    EXPECT_EQ(errorOf([&] { (void)reader.entryCount(); }), "No archive is currently open");
  }
  writeBytes(dir / "short.zip", good.substr(good.size() - 20));
  Archive reader;
  EXPECT_EQ(errorOf([&] { (void)reader.open(dir / "short.zip"); }),
            "The archive file appears to be corrupted");
}

TEST(ArchiveContainer, BrokenRegistriesFailToOpenWithoutTrustingTheirSizes) {
  TempDir dir;
  const std::string good = craftArchive({{"a.txt", "", "alpha", {}, {}}});
  const std::size_t trailer = good.size() - 36;
  const auto patched = [&](std::size_t at, std::uint32_t value) {
    std::string bytes = good;
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
    fixTrailerCrc(bytes);
    return bytes;
  };
  std::string garbage = good;
  for (std::size_t i = 13; i < trailer; ++i) garbage[i] = 'G';  // a.txt's stream is 13 bytes
  fixTrailerCrc(garbage);
  const std::pair<const char*, std::string> cases[] = {
      {"count claims two billion records", patched(trailer + 4, 0x7FFFFFFF)},
      {"negative count", patched(trailer + 4, 0xFFFFFFFF)},
      {"count beyond the records", patched(trailer + 4, 2)},
      {"registry offset past the end",
       patched(trailer + 16, static_cast<std::uint32_t>(good.size()))},
      {"negative registry offset", patched(trailer + 16, 0x80000000)},
      {"registry is not zlib", garbage},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    writeBytes(dir / "r.zip", bytes);
    Archive reader;
    EXPECT_EQ(errorOf([&] { (void)reader.open(dir / "r.zip"); }),
              "Unable to read archive file list");
    EXPECT_TRUE(reader.archiveName().empty());
  }
}

TEST(ArchiveContainer, ErrorTexts) {
  TempDir dir;
  dir.write("exists.zip", "x");
  fs::create_directories(dir / "folder.zip");
  Archive closed;
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[&] { (void)closed.open(dir / "missing.zip"); }, "Archive file not found"},
      {[&] { (void)closed.open(dir / "folder.zip"); },
       "Unable to open file (" + (dir / "folder.zip").string() + ")"},
      {[&] { closed.create(dir / "exists.zip"); }, "File already exists"},
      {[&] { (void)closed.entryCount(); }, "No archive is currently open"},
      {[&] { (void)closed.indexOfFile(dir / "a.txt"); }, "No archive is currently open"},
      {[&] { closed.addFile(dir / "exists.zip"); }, "No archive is currently open"},
      {[&] { closed.extractAll(dir.path()); }, "No archive is currently open"},
      {[&] { (void)closed.entry(0); }, "Index out of bounds"},
  };
  for (const auto& [call, text] : cases) EXPECT_EQ(errorOf(call), text);
  EXPECT_FALSE(closed.open(""));

  Archive archive;
  archive.create(dir / "a.zip");
  EXPECT_EQ(errorOf([&] { archive.extractAll(dir / "out"); }),
            "Unable to open file (" + (dir / "a.zip").string() + ")")
      << "a new archive has no file until something is added";
  archive.addFile(dir.write("a.txt", "a"));
  EXPECT_EQ(errorOf([&] { (void)archive.entry(1); }), "Index out of bounds");
  EXPECT_EQ(errorOf([&] { (void)archive.entry(-1); }), "Index out of bounds");
  dir.write("blocker", "a file where the destination folder should be");
  EXPECT_EQ(errorOf([&] { archive.extractAll(dir / "blocker" / "sub"); }),
            "Unable to create destination path");
}

TEST(ArchiveContainer, SameNameTwiceIsRefusedUnlessPathsAreSaved) {
  TempDir dir;
  const fs::path first = dir.write("one/Report.pdf", "first");
  const fs::path second = dir.write("two/REPORT.PDF", "second");

  Archive plain;
  plain.create(dir / "plain.zip");
  plain.addFile(first);
  EXPECT_EQ(errorOf([&] { plain.addFile(second); }), "File already exists");
  EXPECT_EQ(plain.entryCount(), 1);

  Archive withPaths;
  withPaths.setSavePaths(true);
  withPaths.create(dir / "paths.zip");
  withPaths.addFile(first);
  withPaths.addFile(second);
  ASSERT_EQ(withPaths.entryCount(), 2);
  std::string folder = (dir / "two").string() + "/";
  std::replace(folder.begin(), folder.end(), '/', '\\');
  EXPECT_EQ(withPaths.entry(1).folder, folder);
  EXPECT_EQ(withPaths.indexOfFile(dir / "TWO" / "report.pdf"), 1);
  EXPECT_EQ(errorOf([&] { withPaths.addFile(dir / "ONE" / "report.pdf"); }), "File already exists");

  // extracted with their folders below the destination, not at the recorded absolute place
  withPaths.setExtractWithPath(true);
  withPaths.extractAll(dir / "out");
  const std::string relative = (dir / "two").relative_path().string();
  EXPECT_EQ(readFile(dir / "out" / relative / "REPORT.PDF"), "second");
}

TEST(ArchiveContainer, NamesAreCutToTheFieldWithoutSplittingACharacter) {
  const std::string big5Char = "\xB5\x6F";  // 發
  const std::pair<std::string, std::size_t> cases[] = {
      {std::string(256, 'n'), 255},
      {std::string(255, 'n'), 255},
      {std::string(254, 'n') + big5Char, 254},
      {std::string(253, 'n') + big5Char + "x", 255},
      {"short.pdf", 9},
  };
  for (const auto& [name, kept] : cases) {
    EXPECT_EQ(zlb::cutToField(name), name.substr(0, kept));
    const auto record = zlb::encodeRecord(name, "", ArchiveEntry{});
    EXPECT_EQ(record[0], kept);
    EXPECT_EQ(record[1 + kept], 0);
  }
}

TEST(ArchiveContainer, DestinationWithOrWithoutTrailingSeparatorWritesTheSameFiles) {
  TempDir dir;
  writeBytes(dir / "a.zip",
             craftArchive({{"one.txt", "", "1", {}, {}}, {"two.txt", "", "22", {}, {}}}));
  std::vector<fs::path> reported;
  for (const std::string suffix : {"", "/", "//"}) {
    SCOPED_TRACE("destination ends with \"" + suffix + "\"");
    TempDir out;
    Archive archive;
    archive.setCheckCrc(true);
    reported.clear();
    archive.setOnFileExtracted([&](const fs::path& file) { reported.push_back(file); });
    ASSERT_TRUE(archive.open(dir / "a.zip"));
    archive.extractAll(out.path().string() + suffix);
    EXPECT_EQ(filesBelow(out.path()), (std::set<std::string>{"one.txt", "two.txt"}));
    EXPECT_EQ(readFile(out / "two.txt"), "22");
    EXPECT_EQ(reported, (std::vector<fs::path>{out / "one.txt", out / "two.txt"}));
  }
}

TEST(ArchiveContainer, EntriesThatWouldLeaveTheDestinationAreRefused) {
  struct Case {
    std::string name;
    std::string folder;
    bool withPath;
  };
  const Case cases[] = {
      {"../evil.txt", "", false},
      {"..", "", false},
      {"sub/evil.txt", "", false},
      {"sub\\evil.txt", "", false},
      {"/tmp/evil.txt", "", false},
      {"C:evil.txt", "", false},
      {"", "", false},
      {std::string("evil\0.txt", 9), "", false},
      {"evil.txt", "..\\", true},
      {"evil.txt", "\\a\\..\\..\\", true},
      {"evil.txt", "C:\\x\\", true},
      {"evil.txt", "a/..\\", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("name \"" + c.name + "\" folder \"" + c.folder + "\"");
    TempDir dir;
    writeBytes(dir / "a.zip",
               craftArchive({{"ok.txt", "", "fine", {}, {}}, {c.name, c.folder, "evil", {}, {}}}));
    Archive archive;
    archive.setExtractWithPath(c.withPath);
    ASSERT_TRUE(archive.open(dir / "a.zip"));
    std::string shown = (c.withPath ? c.folder : "") + c.name;
    std::replace(shown.begin(), shown.end(), '\0', '?');
    EXPECT_EQ(errorOf([&] { archive.extractAll(dir / "dest" / "inner"); }),
              "File (1) has an unsafe name (" + shown + ")");
    EXPECT_EQ(filesBelow(dir.path()), (std::set<std::string>{"a.zip", "dest/inner/ok.txt"}))
        << "earlier entries stay, nothing is written for the refused one";
  }
}

TEST(ArchiveContainer, RecordedFoldersStayBelowTheDestination) {
  TempDir dir;
  // 許 (B3 5C) carries a backslash byte: the folder must not split inside it
  writeBytes(dir / "a.zip", craftArchive({{"a.txt", "\\sub\\\\deep\\", "A", {}, {}},
                                          {"b.txt", "\xB3\x5C\\", "B", {}, {}},
                                          {"c.txt", "", "C", {}, {}}}));
  Archive archive;
  archive.setExtractWithPath(true);
  ASSERT_TRUE(archive.open(dir / "a.zip"));
  archive.extractAll(dir / "out");
  EXPECT_EQ(filesBelow(dir / "out"),
            (std::set<std::string>{"sub/deep/a.txt", "許/b.txt", "c.txt"}));
}

TEST(ArchiveContainer, LinksInTheDestinationAreNeverFollowed) {
  TempDir dir;
  const fs::path outside = dir.write("outside.txt", "keep me");
  fs::create_directories(dir / "out");
  fs::create_symlink(outside, dir / "out" / "ok.txt");
  writeBytes(dir / "a.zip", craftArchive({{"ok.txt", "", "archived", {}, {}}}));
  Archive archive;
  ASSERT_TRUE(archive.open(dir / "a.zip"));
  archive.extractAll(dir / "out");
  EXPECT_EQ(readFile(outside), "keep me");
  EXPECT_FALSE(fs::is_symlink(dir / "out" / "ok.txt"));
  EXPECT_EQ(readFile(dir / "out" / "ok.txt"), "archived");

  // a linked folder is not entered, and nothing is created through it
  fs::create_directories(dir / "elsewhere");
  fs::create_directory_symlink(dir / "elsewhere", dir / "out" / "linked");
  writeBytes(dir / "b.zip",
             craftArchive({{"x.txt", "\\linked\\new\\", "through the link", {}, {}}}));
  archive.setExtractWithPath(true);
  ASSERT_TRUE(archive.open(dir / "b.zip"));
  EXPECT_EQ(errorOf([&] { archive.extractAll(dir / "out"); }),
            "File (0) has an unsafe name (\\linked\\new\\x.txt)");
  EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
}

TEST(ArchiveContainer, DamagedEntriesAreReportedByIndex) {
  struct Case {
    const char* what;
    Crafted second;
    bool checkCRC;
    std::string error;
  };
  const std::string text(3000, 't');
  std::string truncated = zlibOf(text);
  truncated.resize(truncated.size() / 2);
  const Case cases[] = {
      {"wrong checksum, checked",
       {"b.txt", "", text, 0x12345678u, {}},
       true,
       "File (1) is corrupt"},
      {"wrong checksum, unchecked", {"b.txt", "", text, 0x12345678u, {}}, false, "<no error>"},
      {"not a zlib stream",
       {"b.txt", "", text, {}, std::string(40, 'Z')},
       false,
       "File (1) is corrupt"},
      {"stream shorter than its size",
       {"b.txt", "", text, {}, truncated},
       false,
       "File (1) is corrupt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    writeBytes(dir / "a.zip", craftArchive({{"a.txt", "", "first", {}, {}}, c.second}));
    Archive archive;
    archive.setCheckCrc(c.checkCRC);
    ASSERT_TRUE(archive.open(dir / "a.zip"));
    EXPECT_EQ(errorOf([&] { archive.extractAll(dir / "out"); }), c.error);
    EXPECT_EQ(readFile(dir / "out/a.txt"), "first");
    EXPECT_EQ(fs::exists(dir / "out/b.txt"), c.error == "<no error>")
        << "a failing entry leaves no partial file";
  }
}

// Archives this component never writes but must read: entries kept as raw bytes (stored flag 1)
// and a registry of plain records (trailer flag 0).
TEST(ArchiveContainer, RawEntriesAndAPlainRegistryAreRead) {
  struct Entry {
    std::string name;
    std::string content;
    bool raw;
    std::size_t storedCut;  // bytes missing from the end of the stored data
  };
  const auto build = [](const std::vector<Entry>& entries) {
    std::string bytes;
    std::string records;
    for (const Entry& entry : entries) {
      std::string data = entry.raw ? entry.content : zlibOf(entry.content);
      data.resize(data.size() - entry.storedCut);
      ArchiveEntry numbers;
      numbers.uncompressedSize = static_cast<std::uint32_t>(entry.content.size());
      numbers.compressedSize = static_cast<std::uint32_t>(data.size());
      numbers.dataOffset = static_cast<std::uint32_t>(bytes.size());
      numbers.crc32 = crcOf(entry.content);
      numbers.storedUncompressed = entry.raw;
      const auto record = zlb::encodeRecord(entry.name, "", numbers);
      records.append(reinterpret_cast<const char*>(record.data()), record.size());
      bytes += data;
    }
    zlb::Trailer trailer;
    trailer.count = static_cast<std::int32_t>(entries.size());
    trailer.registryOffset = static_cast<std::int32_t>(bytes.size());
    trailer.registryLength = static_cast<std::uint32_t>(records.size());
    trailer.registryCompressed = false;
    bytes += records;
    trailer.crc = crcOf(bytes);
    const auto image = zlb::encodeTrailer(trailer);
    bytes.append(reinterpret_cast<const char*>(image.data()), image.size());
    return bytes;
  };
  const std::string rawText = noise(10000, 3);

  TempDir dir;
  const std::string whole = build({{"raw.bin", rawText, true, 0},
                                   {"packed.txt", std::string(5000, 'p'), false, 0},
                                   {"tail.txt", "after the raw entry", true, 0}});
  EXPECT_EQ(static_cast<unsigned char>(whole[whole.size() - 36 + 20]), 0);
  writeBytes(dir / "a.zip", whole);
  Archive archive;
  archive.setCheckCrc(true);
  ASSERT_TRUE(archive.open(dir / "a.zip"));
  ASSERT_EQ(archive.entryCount(), 3);
  EXPECT_TRUE(archive.entry(0).storedUncompressed);
  EXPECT_FALSE(archive.entry(1).storedUncompressed);
  archive.extractAll(dir / "out");
  EXPECT_EQ(readFile(dir / "out/raw.bin"), rawText);
  EXPECT_EQ(readFile(dir / "out/packed.txt"), std::string(5000, 'p'));
  EXPECT_EQ(readFile(dir / "out/tail.txt"), "after the raw entry");

  // a raw entry shorter than its size must not borrow the next entry's bytes to fill up
  writeBytes(dir / "b.zip", build({{"first.txt", "ok", true, 0},
                                   {"cut.bin", rawText, true, 100},
                                   {"next.txt", std::string(200, 'n'), true, 0}}));
  Archive unchecked;
  ASSERT_TRUE(unchecked.open(dir / "b.zip"));
  EXPECT_EQ(errorOf([&] { unchecked.extractAll(dir / "cut"); }), "File (1) is corrupt");
  EXPECT_EQ(readFile(dir / "cut/first.txt"), "ok");
}

TEST(ArchiveContainer, ExistingFilesAreReplacedUnlessTheHandlerKeepsThem) {
  TempDir dir;
  writeBytes(dir / "a.zip", craftArchive({{"a.txt", "", "new", {}, {}}}));
  for (const bool replace : {true, false}) {
    dir.write("out/a.txt", "old and longer");
    Archive archive;
    archive.setOnReplaceFile([&](const fs::path&) { return replace; });
    ASSERT_TRUE(archive.open(dir / "a.zip"));
    archive.extractAll(dir / "out");
    EXPECT_EQ(readFile(dir / "out/a.txt"), replace ? "new" : "old and longer");
  }
}

std::vector<fs::path> temporaryFiles(const fs::path& folder) {
  std::vector<fs::path> found;
  for (const auto& item : fs::directory_iterator(folder)) {
    if (item.path().filename().string().starts_with(".athup-tmp-")) found.push_back(item.path());
  }
  return found;
}

TEST(ArchiveContainer, AFailedAddLeavesTheArchiveAndNoTemporaryFile) {
  TempDir dir;
  const fs::path second = dir.write("second.txt", std::string(100000, 's'));
  Archive archive;
  archive.create(dir / "a.zip");
  archive.addFile(dir.write("first.txt", "first"));
  const std::string before = readFile(dir / "a.zip");

  // the progress handler is the fault: it throws while the temporary file is half written
  std::optional<fs::perms> temporaryMode;
  const std::function<void()> faults[] = {[] { throw std::runtime_error("disk gone"); },
                                          [] { throw StoppedByUser(); }};
  for (const auto& fault : faults) {
    archive.setOnProgress([&](const std::string& msg, int) {
      if (msg.starts_with("Updating")) {
        const auto found = temporaryFiles(dir.path());
        if (found.size() == 1) temporaryMode = fs::status(found[0]).permissions();
      }
      if (msg == "Writing archive registry") fault();
    });
    try {
      archive.addFile(second);
      ADD_FAILURE() << "the add reported success";
    } catch (const StoppedByUser&) {
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to add file (" + second.string() + "): disk gone");
    }
    EXPECT_EQ(readFile(dir / "a.zip"), before);
    EXPECT_TRUE(temporaryFiles(dir.path()).empty());
    EXPECT_EQ(archive.entryCount(), 1);
    ASSERT_TRUE(temporaryMode.has_value());
    EXPECT_EQ(*temporaryMode, fs::perms::owner_read | fs::perms::owner_write);
  }

  archive.setOnProgress({});
  EXPECT_EQ(errorOf([&] { archive.addFile(dir / "missing.txt"); }),
            "Unable to open file (" + (dir / "missing.txt").string() + ")");
  EXPECT_NE(errorOf([&] { archive.addFile(dir.write("emoji😀.txt", "x")); }), "<no error>")
      << "a name Big5 cannot hold must not be stored garbled";
  EXPECT_EQ(readFile(dir / "a.zip"), before);
  EXPECT_TRUE(temporaryFiles(dir.path()).empty());
}

TEST(ArchiveContainer, ProgressTexts) {
  TempDir dir;
  const fs::path source = dir.write("doc.txt", std::string(200000, 'p'));
  std::vector<std::pair<std::string, int>> seen;
  const auto record = [&](const std::string& msg, int percent) {
    if (seen.empty() || seen.back().first != msg) seen.emplace_back(msg, percent);
    seen.back().second = percent;  // keep the last percentage of each run of one text
  };
  Archive archive;
  archive.setOnProgress(record);
  archive.create(dir / "a.zip");
  archive.addFile(source);
  archive.setCheckCrc(true);
  archive.extractAll(dir / "out");
  archive.close();
  const std::string name = (dir / "a.zip").string();
  const std::vector<std::pair<std::string, int>> expected = {
      {"Updating " + source.string(), 100}, {"Writing archive registry", 100},
      {"Extracting archive registry", 100}, {name, 0},  // the re-open after the add is done
      {"Extracting doc.txt", 100},          {name, 0},
  };
  EXPECT_EQ(seen, expected);
}

// While it lives, no file may grow beyond `bytes`: a write past it fails (EFBIG) as one on a full
// disk would, without needing a small file system.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_handler = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    signal(SIGXFSZ, m_handler);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_saved{};
  sighandler_t m_handler = SIG_DFL;
};

// An archive of the given entry data and records exactly as given, however wrong they are.
std::string craftRecords(const std::string& data, const std::vector<ArchiveEntry>& records) {
  std::string bytes = data;
  std::string images;
  for (const ArchiveEntry& record : records) {
    const auto image = zlb::encodeRecord(record.fileName, "", record);
    images.append(reinterpret_cast<const char*>(image.data()), image.size());
  }
  zlb::Trailer trailer;
  trailer.count = static_cast<std::int32_t>(records.size());
  trailer.registryOffset = static_cast<std::int32_t>(bytes.size());
  const std::string registry = zlibOf(images);
  trailer.registryLength = static_cast<std::uint32_t>(registry.size());
  bytes += registry;
  trailer.crc = crcOf(bytes);
  const auto image = zlb::encodeTrailer(trailer);
  bytes.append(reinterpret_cast<const char*>(image.data()), image.size());
  return bytes;
}

ArchiveEntry recordOf(std::string name, std::uint32_t offset, std::uint32_t stored,
                      std::uint32_t size) {
  ArchiveEntry entry;
  entry.fileName = std::move(name);
  entry.dataOffset = offset;
  entry.compressedSize = stored;
  entry.uncompressedSize = size;
  return entry;
}

TEST(ArchiveContainer, RegistriesThatCouldFillTheDiskOrTheMemoryAreRefusedAtOpen) {
  const std::string big(100000, 'x');
  const std::string stream = zlibOf(big);
  const auto streamSize = static_cast<std::uint32_t>(stream.size());
  std::vector<ArchiveEntry> shared;
  for (int i = 0; i < 10; ++i)
    shared.push_back(recordOf("f" + std::to_string(i), 0, streamSize, 100000));
  const std::string small = zlibOf("alpha");
  const auto smallSize = static_cast<std::uint32_t>(small.size());
  ArchiveLimits two;
  two.maxEntries = 2;
  struct Case {
    const char* what;
    std::string bytes;
    ArchiveLimits limits;
    std::string error;
  };
  const Case cases[] = {
      {"one honest entry",
       craftRecords(stream, {recordOf("a", 0, streamSize, 100000)}),
       {},
       "<no error>"},
      {"ten records sharing one stream",
       craftRecords(stream, shared),
       {},
       "Unable to read archive file list"},
      {"ranges overlapping by one byte",
       craftRecords(small + small,
                    {recordOf("a", 0, smallSize + 1, 5), recordOf("b", smallSize, smallSize, 5)}),
       {},
       "Unable to read archive file list"},
      {"range running into the registry",
       craftRecords(small, {recordOf("a", 0, smallSize + 1, 5)}),
       {},
       "Unable to read archive file list"},
      {"offset past the end of the file",
       craftRecords(small, {recordOf("a", 0x7FFFFFF0u, smallSize, 5)}),
       {},
       "Unable to read archive file list"},
      {"more content than deflate can make of the stored bytes",
       craftRecords(small, {recordOf("a", 0, smallSize, smallSize * 1032 + 1)}),
       {},
       "Unable to read archive file list"},
      {"more records than the default limit",
       craftRecords("", std::vector<ArchiveEntry>(10001, recordOf("", 0, 0, 0))),
       {},
       "The archive holds too many files (10001; at most 10000)"},
      {"more records than the caller allows",
       craftRecords(small + small + small,
                    {recordOf("a", 0, smallSize, 5), recordOf("b", smallSize, smallSize, 5),
                     recordOf("c", 2 * smallSize, smallSize, 5)}),
       two, "The archive holds too many files (3; at most 2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    writeBytes(dir / "a.zip", c.bytes);
    Archive archive;
    archive.setLimits(c.limits);
    EXPECT_EQ(errorOf([&] { (void)archive.open(dir / "a.zip"); }), c.error);
    EXPECT_EQ(archive.archiveName().empty(), c.error != "<no error>");
  }
}

TEST(ArchiveContainer, TheExtractedTotalIsCheckedBeforeTheFirstByteIsWritten) {
  const std::string content(1000, 'c');
  const struct {
    std::uint64_t limit;
    std::string error;
  } cases[] = {
      {2999, "The archive would extract to too many bytes (3000; at most 2999)"},
      {3000, "<no error>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.limit);
    TempDir dir;
    writeBytes(dir / "a.zip", craftArchive({{"a.txt", "", content, {}, {}},
                                            {"b.txt", "", content, {}, {}},
                                            {"c.txt", "", content, {}, {}}}));
    Archive archive;
    ArchiveLimits limits;
    limits.maxExtractedBytes = c.limit;
    archive.setLimits(limits);
    ASSERT_TRUE(archive.open(dir / "a.zip"));
    EXPECT_EQ(errorOf([&] { archive.extractAll(dir / "out"); }), c.error);
    EXPECT_EQ(fs::exists(dir / "out"), c.error == "<no error>");
  }
  EXPECT_GE(ArchiveLimits{}.maxExtractedBytes, 10 * kFilingAttachmentLimit)
      << "a whole filing's attachments, with room to spare";
}

std::vector<std::string> temporaryNames(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& item : fs::directory_iterator(folder)) {
    const std::string name = item.path().filename().string();
    if (name.starts_with(".athup-tmp-")) found.push_back(name);
  }
  return found;
}

TEST(ArchiveContainer, ExtractionNeverDamagesWhatIsAlreadyThere) {
  const std::string fresh = noise(200000, 9);
  std::string cut = zlibOf(fresh);
  cut.resize(cut.size() / 2);
  struct Case {
    const char* what;
    Crafted second;
    rlim_t fileSizeLimit;  // 0: none
    std::string error;
  };
  const Case cases[] = {
      {"checksum differs", {"b.txt", "", fresh, 0x12345678u, {}}, 0, "File (1) is corrupt"},
      {"stream cut short", {"b.txt", "", fresh, {}, cut}, 0, "File (1) is corrupt"},
      {"not a zlib stream",
       {"b.txt", "", fresh, {}, std::string(300, 'Z')},
       0,
       "File (1) is corrupt"},
      {"disk full", {"b.txt", "", fresh, {}, {}}, 100000, "Unable to write file (@)"},
      {"sound entry", {"b.txt", "", fresh, {}, {}}, 0, "<no error>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    writeBytes(dir / "a.zip", craftArchive({{"a.txt", "", "first", {}, {}}, c.second}));
    const fs::path target = dir.write("out/b.txt", "old content");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_hard_link(target, dir / "elsewhere.txt");
    std::vector<fs::path> reported;
    Archive archive;
    archive.setCheckCrc(true);
    archive.setOnFileExtracted([&](const fs::path& path) { reported.push_back(path); });
    ASSERT_TRUE(archive.open(dir / "a.zip"));
    std::string error;
    {
      std::optional<FileSizeLimit> limit;
      if (c.fileSizeLimit > 0) limit.emplace(c.fileSizeLimit);
      error = errorOf([&] { archive.extractAll(dir / "out"); });
    }
    std::string expected = c.error;
    if (const auto at = expected.find('@'); at != std::string::npos) {
      expected.replace(at, 1, target.string());
    }
    EXPECT_EQ(error, expected);
    EXPECT_EQ(readFile(dir / "elsewhere.txt"), "old content")
        << "a hard link is not written through";
    EXPECT_TRUE(temporaryNames(dir / "out").empty());
    EXPECT_EQ(readFile(dir / "out/a.txt"), "first");
    EXPECT_EQ(fs::status(dir / "out/a.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write)
        << "a new file is private";
    if (c.error == "<no error>") {
      EXPECT_EQ(readFile(target), fresh);
      EXPECT_EQ(fs::status(target).permissions(),
                fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
          << "a replaced file keeps its mode";
      EXPECT_EQ(reported, (std::vector<fs::path>{dir / "out/a.txt", target}));
    } else {
      EXPECT_EQ(readFile(target), "old content");
      EXPECT_EQ(fs::hard_link_count(target), 2u);
      EXPECT_EQ(reported, std::vector<fs::path>{dir / "out/a.txt"});
    }
  }
}

TEST(ArchiveContainer, TheExtractedFileIsReportedWhereItWasWritten) {
  TempDir dir;
  writeBytes(dir / "a.zip", craftArchive({{"x.txt", "\\sub\\deep\\", "X", {}, {}}}));
  for (const bool withPath : {true, false}) {
    std::vector<fs::path> reported;
    Archive archive;
    archive.setExtractWithPath(withPath);
    archive.setOnFileExtracted([&](const fs::path& path) { reported.push_back(path); });
    ASSERT_TRUE(archive.open(dir / "a.zip"));
    archive.extractAll(dir / "out/");
    const fs::path expected = withPath ? dir / "out/sub/deep/x.txt" : dir / "out/x.txt";
    EXPECT_EQ(reported, std::vector<fs::path>{expected});
    EXPECT_EQ(readFile(expected), "X");
  }
}

TEST(ArchiveContainer, WindowsDeviceNamesAreNeverExtracted) {
  const struct {
    const char* name;
    bool plain;
  } cases[] = {
      {"CON", false},        {"con", false},      {"Nul.txt", false},    {"PRN", false},
      {"aux.tar.gz", false}, {"COM1", false},     {"com9.log", false},   {"LPT1", false},
      {"lpt9.TXT", false},   {"NUL .txt", false}, {"CONSOLE.txt", true}, {"COM10", true},
      {"COM0", true},        {"LPT", true},       {"nul_x.txt", true},   {"xcon", true},
      {"con2.txt", true},    {"a.con", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zlb::isPlainName(c.name), c.plain) << c.name;
    EXPECT_EQ(zlb::targetFolder("dest", std::string(c.name) + "\\", true).has_value(), c.plain)
        << c.name << " as a folder";
  }
  TempDir dir;
  writeBytes(dir / "a.zip", craftArchive({{"nul.txt", "", "device", {}, {}}}));
  Archive archive;
  ASSERT_TRUE(archive.open(dir / "a.zip"));
  EXPECT_EQ(errorOf([&] { archive.extractAll(dir / "out"); }),
            "File (0) has an unsafe name (nul.txt)");
}

TEST(ArchiveContainer, PackingManyFilesReplacesTheArchiveOnceOrNotAtAll) {
  struct Case {
    const char* what;
    std::vector<std::string> files;  // below the test folder; "missing.txt" is never written
    rlim_t fileSizeLimit;
    std::string error;  // "@" stands for the path of the file named last in `files`
  };
  const Case cases[] = {
      {"three files", {"x.txt", "y.bin", "z.txt"}, 0, "<no error>"},
      {"same name twice in the batch", {"x.txt", "sub/X.TXT"}, 0, "File already exists"},
      {"a name already in the archive", {"x.txt", "sub/one.txt"}, 0, "File already exists"},
      {"a source that is missing", {"x.txt", "missing.txt"}, 0, "Unable to open file (@)"},
      {"a full disk", {"x.txt", "y.bin"}, 150000, "Unable to add file (@): File too large"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    Archive archive;
    archive.create(dir / "a.zip");
    archive.addFile(dir.write("one.txt", "first file"));
    const std::string before = readFile(dir / "a.zip");
    const auto firstData = archive.entry(0).compressedSize;
    std::vector<fs::path> paths;
    for (const std::string& name : c.files) {
      const std::string content = name == "y.bin" ? noise(300000, 4) : "content of " + name;
      paths.push_back(name == "missing.txt" ? dir / name : dir.write(name, content));
    }
    int registries = 0;
    archive.setOnProgress([&](const std::string& msg, int percent) {
      if (msg == "Writing archive registry" && percent == 100) ++registries;
    });
    std::string error;
    {
      std::optional<FileSizeLimit> limit;
      if (c.fileSizeLimit > 0) limit.emplace(c.fileSizeLimit);
      error = errorOf([&] { archive.addFiles(paths); });
    }
    std::string expected = c.error;
    if (const auto at = expected.find('@'); at != std::string::npos) {
      expected.replace(at, 1, paths.back().string());
    }
    EXPECT_EQ(error, expected);
    EXPECT_TRUE(temporaryNames(dir.path()).empty());
    const std::string after = readFile(dir / "a.zip");
    if (c.error != "<no error>") {
      EXPECT_EQ(after, before);
      EXPECT_EQ(archive.entryCount(), 1);
      continue;
    }
    EXPECT_EQ(registries, 1) << "one registry for the whole batch";
    EXPECT_EQ(after.substr(0, firstData), before.substr(0, firstData));
    Archive reader;
    reader.setCheckCrc(true);
    ASSERT_TRUE(reader.open(dir / "a.zip"));
    ASSERT_EQ(reader.entryCount(), 4);
    for (int i = 1; i < 4; ++i) {
      EXPECT_EQ(reader.entry(i).dataOffset,
                reader.entry(i - 1).dataOffset + reader.entry(i - 1).compressedSize);
    }
    reader.extractAll(dir / "out");
    EXPECT_EQ(readFile(dir / "out/y.bin"), noise(300000, 4));
    EXPECT_EQ(readFile(dir / "out/one.txt"), "first file");
  }
}

TEST(ArchiveContainer, OnlyOurStaleTemporaryFilesAreRemoved) {
  TempDir dir;
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
  const auto aged = [&](const std::string& name, const std::string& content = "x") {
    const fs::path path = dir.write(name, content);
    fs::last_write_time(path, old);
    return path;
  };
  aged(".athup-tmp-zlb-AbC123");
  aged(".athup-tmp-extract-xyz");
  dir.write(".athup-tmp-zlb-fresh", "another run is writing this one");
  aged("report.txt");
  aged(".athup-tmpx-not-ours");
  aged("sub/.athup-tmp-zlb-below");
  fs::create_directory(dir / ".athup-tmp-folder");
  fs::create_symlink(dir / "report.txt", dir / ".athup-tmp-link");

  EXPECT_EQ(common::removeStaleTemporaryFiles(dir.path()), 2u);
  EXPECT_EQ(filesBelow(dir.path()),
            (std::set<std::string>{".athup-tmp-zlb-fresh", "report.txt", ".athup-tmpx-not-ours",
                                   "sub/.athup-tmp-zlb-below", ".athup-tmp-link"}));
  EXPECT_TRUE(fs::is_directory(dir / ".athup-tmp-folder"));
  EXPECT_EQ(common::removeStaleTemporaryFiles(dir.path(), std::chrono::seconds(0)), 1u);
  EXPECT_EQ(common::removeStaleTemporaryFiles(dir / "no-such-folder"), 0u);
}

}  // namespace
}  // namespace athup::security
