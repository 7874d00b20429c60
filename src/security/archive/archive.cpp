#include "security/archive/archive.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

#include "common/big5.h"
#include "common/errors.h"
#include "security/archive/deflate_writer.h"
#include "security/archive/extract_path.h"
#include "security/archive/inflate_reader.h"
#include "security/archive/temp_output_file.h"

namespace athup::security {
namespace {

namespace fs = std::filesystem;
using zlb::kRecordSize;
using zlb::kTrailerSize;

constexpr std::size_t kBlock = 64 * 1024;
// deflate never shrinks data by more than about 1032:1, so a registry that claims more records
// than that is broken and must not drive an allocation
constexpr std::uint64_t kMaxInflateRatio = 1032;

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string withName(const char* pattern, const std::string& value) {
  std::string text(pattern);
  return text.replace(text.find("%s"), 2, value);
}

// A recorded name as shown in a message: control characters would garble it or cut it short.
std::string printable(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text;
}

std::string unsafeName(int index, const std::string& shown) {
  return "File (" + std::to_string(index) + ") has an unsafe name (" + printable(shown) + ")";
}

std::string corruptFile(int index) {
  return "File (" + std::to_string(index) + ") is corrupt";
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// The recorded form of a file's folder: backslash-separated, the drive (up to the first ":")
// removed, ending with a backslash; empty for a bare file name.
std::string folderField(const fs::path& path) {
  std::string folder = utf8(path.parent_path());
  if (folder.empty()) return folder;
  std::replace(folder.begin(), folder.end(), '/', '\\');
  if (const auto colon = folder.find(':'); colon != std::string::npos) folder.erase(0, colon + 1);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::uint32_t crcOf(std::uint32_t crc, const unsigned char* data, std::size_t size) {
  return static_cast<std::uint32_t>(crc32_z(crc, data, size));
}

}  // namespace

void Archive::reset() {
  m_name.clear();
  m_new = false;
  m_trailer = zlb::Trailer{};
  m_records.clear();
  m_entries.clear();
}

void Archive::requireOpen() const {
  if (m_name.empty()) throw Error("No archive is currently open");
}

void Archive::progress(const std::string& msg, std::uint64_t done, std::uint64_t total) const {
  if (!m_onProgress) return;
  const std::uint64_t percent =
      total == 0 ? 100 : std::min<std::uint64_t>(100, (done * 200 + total) / (2 * total));
  m_onProgress(msg, static_cast<int>(percent));
}

void Archive::create(const fs::path& name) {
  reset();
  if (name.empty()) return;
  std::error_code error;
  if (fs::exists(name, error)) throw Error("File already exists");
  m_name = name;
  m_new = true;
}

bool Archive::open(const fs::path& name) {
  reset();
  if (name.empty()) return false;
  std::error_code error;
  if (!fs::exists(name, error)) throw Error("Archive file not found");
  std::ifstream in;
  if (fs::is_regular_file(name, error)) in.open(name, std::ios::binary);
  const auto size = fs::file_size(name, error);
  if (!in || error) throw Error(withName("Unable to open file (%s)", utf8(name)));

  // A file too short for a trailer cannot carry a matching checksum either.
  if (size < kTrailerSize) throw Error("The archive file appears to be corrupted");
  std::uint32_t crc = crcOf(0, nullptr, 0);
  std::vector<unsigned char> block(kBlock);
  for (std::uint64_t left = size - kTrailerSize; left > 0;) {
    const auto want = static_cast<std::streamsize>(std::min<std::uint64_t>(left, block.size()));
    in.read(reinterpret_cast<char*>(block.data()), want);
    if (in.gcount() != want) throw Error(withName("Unable to open file (%s)", utf8(name)));
    crc = crcOf(crc, block.data(), static_cast<std::size_t>(want));
    left -= static_cast<std::uint64_t>(want);
  }
  zlb::TrailerImage image{};
  in.read(reinterpret_cast<char*>(image.data()), kTrailerSize);
  if (in.gcount() != static_cast<std::streamsize>(kTrailerSize)) {
    throw Error(withName("Unable to open file (%s)", utf8(name)));
  }
  const zlb::Trailer trailer = zlb::decodeTrailer(image.data());
  if (trailer.crc != crc) throw Error("The archive file appears to be corrupted");

  m_trailer = trailer;
  try {
    readRegistry(in, size);
  } catch (const StoppedByUser&) {
    reset();
    throw;
  } catch (...) {  // also a failed allocation: every broken registry reads as one
    reset();
    throw Error("Unable to read archive file list");
  }
  m_name = name;
  if (m_onProgress) m_onProgress(utf8(m_name), 0);
  return true;
}

void Archive::readRegistry(std::istream& in, std::uint64_t fileSize) {
  const std::uint64_t registryEnd = fileSize - kTrailerSize;
  if (m_trailer.count < 0 || m_trailer.registryOffset < 0 ||
      static_cast<std::uint64_t>(m_trailer.registryOffset) > registryEnd) {
    throw Error("registry outside the file");
  }
  const auto count = static_cast<std::uint64_t>(m_trailer.count);
  const std::uint64_t available =
      registryEnd - static_cast<std::uint64_t>(m_trailer.registryOffset);
  const std::uint64_t needed = count * kRecordSize;
  const std::uint64_t possible =
      m_trailer.registryCompressed ? available * kMaxInflateRatio + kRecordSize : available;
  if (needed > possible) throw Error("registry larger than the file allows");

  in.clear();
  in.seekg(static_cast<std::streamoff>(m_trailer.registryOffset));
  std::optional<zlb::InflateReader> reader;
  if (m_trailer.registryCompressed) reader.emplace(in, available);
  zlb::RecordImage record{};
  for (std::uint64_t i = 0; i < count; ++i) {
    std::size_t got = 0;
    if (reader) {
      got = reader->read(record.data(), kRecordSize);
    } else {
      in.read(reinterpret_cast<char*>(record.data()), kRecordSize);
      got = static_cast<std::size_t>(in.gcount());
    }
    if (got != kRecordSize) throw Error("registry cut short");
    m_records.push_back(record);
    m_entries.push_back(zlb::decodeRecord(record.data()));
    progress("Extracting archive registry", (i + 1) * kRecordSize, needed);
  }
}

void Archive::close() {
  const std::string name = utf8(m_name);
  reset();
  if (m_onProgress) m_onProgress(name, 0);
}

int Archive::entryCount() const {
  requireOpen();
  return static_cast<int>(m_entries.size());
}

ArchiveEntry Archive::entry(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size()) {
    throw Error("Index out of bounds");
  }
  return m_entries[static_cast<std::size_t>(index)];
}

Archive::Key Archive::makeKey(const fs::path& path) const {
  Key key;
  key.big5Name = zlb::cutToField(common::utf8ToBig5(utf8(path.filename())));
  if (m_savePaths) key.big5Folder = zlb::cutToField(common::utf8ToBig5(folderField(path)));
  key.utf8 = common::big5ToUtf8(key.big5Folder) + common::big5ToUtf8(key.big5Name);
  return key;
}

int Archive::indexOfKey(const std::string& key) const {
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    if (equalsIgnoringCase(m_entries[i].folder + m_entries[i].fileName, key)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int Archive::indexOfFile(const fs::path& path) const {
  requireOpen();
  try {
    return indexOfKey(makeKey(path).utf8);
  } catch (const Error&) {
    return -1;  // a name Big5 cannot hold can never have been recorded
  }
}

void Archive::addFile(const fs::path& path) {
  requireOpen();
  const Key key = makeKey(path);
  if (indexOfKey(key.utf8) >= 0) throw Error("File already exists");

  std::error_code error;
  std::ifstream source;
  if (fs::is_regular_file(path, error)) source.open(path, std::ios::binary);
  const std::uint64_t sourceSize = fs::file_size(path, error);
  if (!source || error) throw Error(withName("Unable to open file (%s)", utf8(path)));

  const std::string updating = withName("Updating %s", utf8(path));
  try {
    fs::path folder = m_name.parent_path();
    if (folder.empty()) folder = ".";
    // beside the archive, so the final rename replaces it in one step
    zlb::TempOutputFile temp(folder, "ZLB");
    std::vector<unsigned char> block(kBlock);

    if (!m_new) {
      std::ifstream archive(m_name, std::ios::binary);
      for (auto left = static_cast<std::uint64_t>(m_trailer.registryOffset); left > 0;) {
        const auto want = static_cast<std::streamsize>(std::min<std::uint64_t>(left, block.size()));
        archive.read(reinterpret_cast<char*>(block.data()), want);
        if (!archive || archive.gcount() != want) throw Error("archive cut short");
        temp.write(block.data(), static_cast<std::size_t>(want));
        left -= static_cast<std::uint64_t>(want);
      }
    }

    ArchiveEntry entry;
    if (temp.length() > std::numeric_limits<std::uint32_t>::max()) throw Error("archive too large");
    entry.dataOffset = static_cast<std::uint32_t>(temp.length());
    std::uint32_t crc = crcOf(0, nullptr, 0);
    std::uint64_t size = 0;
    {
      zlb::DeflateWriter writer(
          zlibLevel(m_level),
          [&temp](const unsigned char* data, std::size_t n) { temp.write(data, n); });
      while (source) {
        source.read(reinterpret_cast<char*>(block.data()),
                    static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<std::size_t>(source.gcount());
        if (got == 0) break;
        size += got;
        // sizes are 32-bit fields: a larger file cannot be recorded truthfully
        if (size > std::numeric_limits<std::uint32_t>::max()) throw Error("file too large");
        crc = crcOf(crc, block.data(), got);
        writer.write(block.data(), got);
        progress(updating, size, sourceSize);
      }
      if (source.bad()) throw Error("read error");
      writer.finish();
    }
    const std::uint64_t stored = temp.length() - entry.dataOffset;
    if (stored > std::numeric_limits<std::uint32_t>::max()) throw Error("entry too large");
    entry.uncompressedSize = static_cast<std::uint32_t>(size);
    entry.compressedSize = static_cast<std::uint32_t>(stored);
    entry.crc32 = crc;
    entry.storedUncompressed = false;
    entry.compressionLevel = static_cast<std::uint8_t>(m_level);
    std::vector<zlb::RecordImage> records = m_records;
    records.push_back(zlb::encodeRecord(key.big5Name, key.big5Folder, entry));

    // the registry offset is a signed field
    if (temp.length() > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
      throw Error("archive too large");
    }
    zlb::Trailer trailer;
    trailer.registryOffset = static_cast<std::int32_t>(temp.length());
    trailer.count = static_cast<std::int32_t>(records.size());
    std::string registry;
    try {
      zlb::DeflateWriter writer(zlibLevel(m_level),
                                [&registry](const unsigned char* data, std::size_t n) {
                                  registry.append(reinterpret_cast<const char*>(data), n);
                                });
      for (std::size_t i = 0; i < records.size(); ++i) {
        writer.write(records[i].data(), kRecordSize);
        progress("Writing archive registry", (i + 1) * kRecordSize, records.size() * kRecordSize);
      }
      writer.finish();
      trailer.registryCompressed = true;
    } catch (const Error&) {
      // a registry zlib cannot compress is stored as plain records, which readers also accept
      trailer.registryCompressed = false;
      registry.clear();
      for (const auto& record : records)
        registry.append(reinterpret_cast<const char*>(record.data()), kRecordSize);
    }
    temp.write(reinterpret_cast<const unsigned char*>(registry.data()), registry.size());
    trailer.registryLength = static_cast<std::uint32_t>(registry.size());
    trailer.crc = temp.crc();
    const zlb::TrailerImage image = zlb::encodeTrailer(trailer);
    temp.write(image.data(), image.size());
    temp.commitTo(m_name);
  } catch (const StoppedByUser&) {
    throw;
  } catch (const std::exception&) {
    // the temporary file is gone and the archive unchanged; unlike a silent return, the caller
    // learns that this file is not in it
    throw Error(withName("Unable to add file (%s)", utf8(path)));
  }

  const fs::path name = m_name;
  reset();
  (void)open(name);  // reads back what was written, which verifies the new trailer
}

void Archive::extractAll(const fs::path& destination) {
  requireOpen();
  std::error_code error;
  std::ifstream archive;
  if (fs::is_regular_file(m_name, error)) archive.open(m_name, std::ios::binary);
  const auto size = fs::file_size(m_name, error);
  if (!archive || error) throw Error(withName("Unable to open file (%s)", utf8(m_name)));
  const std::uint64_t dataEnd = size >= kTrailerSize ? size - kTrailerSize : 0;

  const fs::path base = zlb::normalizeDestination(utf8(destination));
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    const ArchiveEntry& entry = m_entries[i];
    const int index = static_cast<int>(i);
    const auto folder = zlb::targetFolder(base, entry.folder, m_extractWithPath);
    if (!folder || !zlb::isPlainName(entry.fileName)) {
      throw Error(
          unsafeName(index, (m_extractWithPath ? entry.folder : std::string()) + entry.fileName));
    }
    if (base.empty()) throw Error("Unable to create destination path");
    fs::create_directories(base, error);
    if (!fs::is_directory(base, error)) throw Error("Unable to create destination path");
    // recorded folders are made one level at a time: a linked folder below the destination would
    // lead the write elsewhere, so it is refused before anything is created through it
    fs::path at = base;
    for (const fs::path& part : folder->lexically_relative(base)) {
      if (part == ".") continue;
      at /= part;
      if (fs::is_symlink(fs::symlink_status(at, error))) {
        throw Error(unsafeName(index, entry.folder + entry.fileName));
      }
      fs::create_directory(at, error);
      if (!fs::is_directory(at, error)) throw Error("Unable to create destination path");
    }
    const fs::path target = *folder / zlb::utf8Path(entry.fileName);
    const auto status = fs::symlink_status(target, error);
    if (fs::exists(status)) {
      if (m_onReplaceFile && !m_onReplaceFile(target)) continue;
      // replace a link itself, never the file it points to
      if (fs::is_symlink(status)) fs::remove(target, error);
    }
    writeEntry(archive, dataEnd, index, target);
    if (m_onFileExtracted) m_onFileExtracted(base / zlb::utf8Path(entry.fileName));
  }
  if (m_onProgress) m_onProgress(utf8(m_name), 0);
}

void Archive::writeEntry(std::istream& archive, std::uint64_t dataEnd, int index,
                             const fs::path& target) {
  const ArchiveEntry& entry = m_entries[static_cast<std::size_t>(index)];
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) throw Error(withName("Unable to write file (%s)", utf8(target)));
  if (entry.dataOffset > dataEnd) throw Error(corruptFile(index));
  archive.clear();
  archive.seekg(static_cast<std::streamoff>(entry.dataOffset));
  // an entry's bytes end where its stored size says; what follows belongs to others
  const std::uint64_t region =
      std::min<std::uint64_t>(dataEnd - entry.dataOffset, entry.compressedSize);

  const std::string extracting = withName("Extracting %s", entry.fileName);
  std::optional<zlb::InflateReader> reader;
  std::uint64_t rawLeft = region;
  // any failure to read the entry's bytes means the entry is broken
  const auto readPiece = [&](unsigned char* into, std::size_t want) -> std::size_t {
    try {
      if (!entry.storedUncompressed) {
        if (!reader) reader.emplace(archive, region);
        return reader->read(into, want);
      }
      const auto take = static_cast<std::streamsize>(std::min<std::uint64_t>(want, rawLeft));
      archive.read(reinterpret_cast<char*>(into), take);
      const auto got = static_cast<std::size_t>(archive.gcount());
      rawLeft -= got;
      return got;
    } catch (const std::exception&) {
      throw Error(corruptFile(index));
    }
  };

  std::vector<unsigned char> block(kBlock);
  std::uint32_t crc = crcOf(0, nullptr, 0);
  for (std::uint64_t left = entry.uncompressedSize; left > 0;) {
    const std::size_t got = readPiece(
        block.data(), static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size())));
    if (got == 0) throw Error(corruptFile(index));
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(got));
    if (!out) throw Error(withName("Unable to write file (%s)", utf8(target)));
    crc = crcOf(crc, block.data(), got);
    left -= got;
    progress(extracting, entry.uncompressedSize - left, entry.uncompressedSize);
  }
  out.close();
  if (!out) throw Error(withName("Unable to write file (%s)", utf8(target)));
  if (m_checkCRC && crc != entry.crc32) throw Error(corruptFile(index));
}

}  // namespace athup::security
