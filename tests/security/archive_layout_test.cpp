// The archive is read by the filing server, not by this code: these tests take archives apart with
// plain zlib calls and byte offsets only, and check every field against the files packed.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "security/archive/archive.h"
#include "support/temp_dir.h"

namespace athup::security {
namespace {

using athup::testing::readFile;
using athup::testing::TempDir;

std::uint32_t le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint32_t plainCrc(std::string_view bytes) {
  return static_cast<std::uint32_t>(
      crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

// Inflates a zlib stream that must fill exactly `stored` bytes and end there.
std::string plainInflate(std::string_view stored) {
  z_stream stream{};
  EXPECT_EQ(inflateInit(&stream), Z_OK);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stored.data()));
  stream.avail_in = static_cast<uInt>(stored.size());
  std::string out;
  int rc = Z_OK;
  while (rc == Z_OK) {
    char buffer[4096];
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    rc = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
    if (rc == Z_BUF_ERROR) break;
  }
  EXPECT_EQ(rc, Z_STREAM_END) << "not one complete zlib stream";
  EXPECT_EQ(stream.total_in, stored.size()) << "the stream does not end where its stored size says";
  inflateEnd(&stream);
  return out;
}

bool allZero(const std::string& bytes, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (bytes[i] != '\0') return false;
  }
  return true;
}

struct Packed {
  std::string name;  // UTF-8 on disk
  std::string big5;  // what the record must hold
  std::string content;
};

std::vector<Packed> sampleFiles() {
  std::mt19937 random(7);
  std::string noise(200000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string text;
  while (text.size() < 100000) text += "line of an evidence document, with numbers 0123456789\r\n";
  return {
      {"empty.txt", "empty.txt", ""},
      {"text.txt", "text.txt", text},
      {"noise.bin", "noise.bin", noise},
      {"發票許可證.pdf", "\xB5\x6F\xB2\xBC\xB3\x5C\xA5\x69\xC3\xD2.pdf", "%PDF-1.4 tiny"},
  };
}

TEST(ArchiveLayout, EveryFieldMatchesWhatPlainZlibReads) {
  struct Level {
    CompressionLevel level;
    int ordinal;
    int zlibHeaderLevel;  // FLEVEL bits of the second header byte: 0 fastest .. 3 maximum
  };
  const Level levels[] = {{CompressionLevel::None, 0, 0},
                          {CompressionLevel::Fastest, 1, 0},
                          {CompressionLevel::Default, 2, 2},
                          {CompressionLevel::Maximum, 3, 3}};
  const std::vector<Packed> files = sampleFiles();
  for (const Level& level : levels) {
    SCOPED_TRACE("level ordinal " + std::to_string(level.ordinal));
    TempDir dir;
    Archive archive;
    archive.setCompressionLevel(level.level);
    archive.create(dir / "out.zip");
    for (const Packed& file : files) archive.addFile(dir.write(file.name, file.content));
    archive.close();

    const std::string raw = readFile(dir / "out.zip");
    ASSERT_GT(raw.size(), 36u);
    const std::size_t trailerAt = raw.size() - 36;
    EXPECT_EQ(le32(raw, trailerAt), plainCrc(std::string_view(raw).substr(0, trailerAt)));
    EXPECT_EQ(le32(raw, trailerAt + 4), files.size());
    EXPECT_EQ(le32(raw, trailerAt + 8), 1u);
    const std::uint32_t registryLength = le32(raw, trailerAt + 12);
    const std::uint32_t registryOffset = le32(raw, trailerAt + 16);
    EXPECT_EQ(raw[trailerAt + 20], 1);
    EXPECT_TRUE(allZero(raw, trailerAt + 21, raw.size()));
    ASSERT_EQ(registryOffset + registryLength, trailerAt) << "registry runs up to the trailer";

    const std::string_view registryStream =
        std::string_view(raw).substr(registryOffset, registryLength);
    EXPECT_EQ(static_cast<unsigned char>(registryStream[0]), 0x78);  // deflate, 32 KiB window
    EXPECT_EQ(static_cast<unsigned char>(registryStream[1]) >> 6, level.zlibHeaderLevel);
    const std::string registry = plainInflate(registryStream);
    ASSERT_EQ(registry.size(), files.size() * 532);

    std::uint32_t expectedOffset = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
      SCOPED_TRACE(files[i].name);
      const std::string record = registry.substr(i * 532, 532);
      const auto nameLength = static_cast<unsigned char>(record[0]);
      EXPECT_EQ(record.substr(1, nameLength), files[i].big5);
      EXPECT_TRUE(allZero(record, 1 + nameLength, 512)) << "name padding and folder are zero";
      EXPECT_EQ(le32(record, 512), files[i].content.size());
      const std::uint32_t stored = le32(record, 516);
      const std::uint32_t offset = le32(record, 520);
      EXPECT_EQ(offset, expectedOffset) << "entries follow one another without gaps";
      EXPECT_EQ(le32(record, 524), plainCrc(files[i].content));
      EXPECT_EQ(record[528], 0);
      EXPECT_EQ(record[529], level.ordinal);
      EXPECT_TRUE(allZero(record, 530, 532));

      const std::string_view data = std::string_view(raw).substr(offset, stored);
      EXPECT_EQ(static_cast<unsigned char>(data[1]) >> 6, level.zlibHeaderLevel);
      EXPECT_EQ(plainInflate(data), files[i].content);
      expectedOffset = offset + stored;
    }
    EXPECT_EQ(expectedOffset, registryOffset) << "the registry follows the last entry";
  }
}

TEST(ArchiveLayout, AnEmptyFileIsOneEmptyZlibStream) {
  TempDir dir;
  Archive archive;
  archive.setCompressionLevel(CompressionLevel::Maximum);
  archive.create(dir / "empty.zip");
  archive.addFile(dir.write("nothing.dat", ""));
  archive.close();

  const std::string raw = readFile(dir / "empty.zip");
  // header 78 DA, one final empty fixed block, Adler-32 of nothing (1)
  EXPECT_EQ(raw.substr(0, 8), std::string("\x78\xDA\x03\x00\x00\x00\x00\x01", 8));
  const std::string registry = plainInflate(std::string_view(raw).substr(8, raw.size() - 8 - 36));
  ASSERT_EQ(registry.size(), 532u);
  EXPECT_EQ(le32(registry, 512), 0u);
  EXPECT_EQ(le32(registry, 516), 8u);
  EXPECT_EQ(le32(registry, 520), 0u);
  EXPECT_EQ(le32(registry, 524), 0u);  // CRC-32 of no bytes
  EXPECT_EQ(le32(raw, raw.size() - 36 + 16), 8u);
}

}  // namespace
}  // namespace athup::security
