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

#include "common/ascii.h"
#include "common/big5.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "security/archive/deflate_writer.h"
#include "security/archive/extract_path.h"
#include "security/archive/file_write_error.h"
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
  return common::utf8FromPath(path);
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
  return common::equalsIgnoringAsciiCase(a, b);
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

// A limit of the caller refused the archive: said as it is, not as a broken registry.
class LimitExceeded : public Error {
 public:
  using Error::Error;
};

// A source file of an add that cannot be opened keeps its own message.
class SourceUnreadable : public Error {
 public:
  using Error::Error;
};

std::string tooManyEntries(std::uint64_t count, std::uint64_t limit) {
  return "The archive holds too many files (" + std::to_string(count) + "; at most " +
         std::to_string(limit) + ")";
}

// Stored byte ranges must lie in the entry data, one after another: shared or overlapping
// ranges let a small file extract to many times its size. A compressed entry cannot claim more
// content than deflate makes of its stored bytes.
void checkRanges(const std::vector<ArchiveEntry>& entries, std::uint64_t dataEnd) {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
  ranges.reserve(entries.size());
  for (const ArchiveEntry& entry : entries) {
    const std::uint64_t end = std::uint64_t{entry.dataOffset} + entry.compressedSize;
    if (end > dataEnd) throw Error("entry outside the data");
    if (!entry.storedUncompressed &&
        entry.uncompressedSize > std::uint64_t{entry.compressedSize} * kMaxInflateRatio) {
      throw Error("entry larger than its stored bytes allow");
    }
    if (entry.compressedSize > 0) ranges.emplace_back(entry.dataOffset, end);
  }
  std::sort(ranges.begin(), ranges.end());
  for (std::size_t i = 1; i < ranges.size(); ++i) {
    if (ranges[i].first < ranges[i - 1].second) throw Error("entries share stored bytes");
  }
}

}  // namespace

void Archive::reset() {
  m_name.clear();
  m_new = false;
  m_trailer = zlb::Trailer{};
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
  } catch (const LimitExceeded&) {
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
  if (count > m_limits.maxEntries) throw LimitExceeded(tooManyEntries(count, m_limits.maxEntries));

  in.clear();
  in.seekg(static_cast<std::streamoff>(m_trailer.registryOffset));
  std::optional<zlb::InflateReader> reader;
  if (m_trailer.registryCompressed) reader.emplace(in, available);
  std::vector<ArchiveEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
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
    entries.push_back(zlb::decodeRecordBig5(record.data()));
    progress("Extracting archive registry", (i + 1) * kRecordSize, needed);
  }
  checkRanges(entries, static_cast<std::uint64_t>(m_trailer.registryOffset));

  // every name through one converter: opening one per name costs more than the names
  std::vector<std::string> names;
  names.reserve(entries.size() * 2);
  for (ArchiveEntry& entry : entries) {
    names.push_back(std::move(entry.fileName));
    names.push_back(std::move(entry.folder));
  }
  common::big5ToUtf8Each(names);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].fileName = std::move(names[2 * i]);
    entries[i].folder = std::move(names[2 * i + 1]);
  }
  m_entries = std::move(entries);
}

void Archive::forEachStoredRecord(const std::function<void(const zlb::RecordImage&)>& sink) const {
  std::ifstream in(m_name, std::ios::binary);
  if (!in) throw Error(withName("Unable to open file (%s)", utf8(m_name)));
  std::error_code error;
  const std::uint64_t size = fs::file_size(m_name, error);
  const auto offset = static_cast<std::uint64_t>(m_trailer.registryOffset);
  if (error || size < kTrailerSize || offset > size - kTrailerSize) {
    throw Error("archive changed since it was opened");
  }
  in.seekg(static_cast<std::streamoff>(offset));
  std::optional<zlb::InflateReader> reader;
  if (m_trailer.registryCompressed) reader.emplace(in, size - kTrailerSize - offset);
  zlb::RecordImage record{};
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    std::size_t got = 0;
    if (reader) {
      got = reader->read(record.data(), kRecordSize);
    } else {
      in.read(reinterpret_cast<char*>(record.data()), kRecordSize);
      got = static_cast<std::size_t>(in.gcount());
    }
    if (got != kRecordSize) throw Error("archive changed since it was opened");
    sink(record);
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
  addFiles({path});
}

void Archive::addFiles(const std::vector<fs::path>& paths) {
  requireOpen();
  std::vector<Key> keys;
  keys.reserve(paths.size());
  for (const fs::path& path : paths) {
    Key key = makeKey(path);
    const bool twice = std::any_of(keys.begin(), keys.end(), [&](const Key& other) {
      return equalsIgnoringCase(other.utf8, key.utf8);
    });
    if (twice || indexOfKey(key.utf8) >= 0) throw Error("File already exists");
    keys.push_back(std::move(key));
  }
  if (paths.empty()) return;

  std::size_t current = 0;  // the file a failure is reported for
  try {
    fs::path folder = m_name.parent_path();
    if (folder.empty()) folder = ".";
    // beside the archive, so the final rename replaces it in one step
    zlb::TempOutputFile temp(folder, "zlb-");
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

    std::vector<zlb::RecordImage> added;
    added.reserve(paths.size());
    for (current = 0; current < paths.size(); ++current) {
      const fs::path& path = paths[current];
      std::error_code error;
      std::ifstream source;
      if (fs::is_regular_file(path, error)) source.open(path, std::ios::binary);
      const std::uint64_t sourceSize = fs::file_size(path, error);
      if (!source || error)
        throw SourceUnreadable(withName("Unable to open file (%s)", utf8(path)));
      const std::string updating = withName("Updating %s", utf8(path));

      ArchiveEntry entry;
      if (temp.length() > std::numeric_limits<std::uint32_t>::max()) {
        throw Error("archive too large");
      }
      entry.dataOffset = static_cast<std::uint32_t>(temp.length());
      std::uint32_t crc = crcOf(0, nullptr, 0);
      std::uint64_t size = 0;
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
      const std::uint64_t stored = temp.length() - entry.dataOffset;
      if (stored > std::numeric_limits<std::uint32_t>::max()) throw Error("entry too large");
      entry.uncompressedSize = static_cast<std::uint32_t>(size);
      entry.compressedSize = static_cast<std::uint32_t>(stored);
      entry.crc32 = crc;
      entry.storedUncompressed = false;
      entry.compressionLevel = static_cast<std::uint8_t>(m_level);
      added.push_back(zlb::encodeRecord(keys[current].big5Name, keys[current].big5Folder, entry));
    }
    current = paths.size() - 1;

    // the registry offset is a signed field
    if (temp.length() > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
      throw Error("archive too large");
    }
    zlb::Trailer trailer;
    trailer.registryOffset = static_cast<std::int32_t>(temp.length());
    const std::size_t total = m_entries.size() + added.size();
    trailer.count = static_cast<std::int32_t>(total);
    // the records so far exactly as stored, then the new ones
    const auto eachRecord = [&](const std::function<void(const zlb::RecordImage&)>& sink) {
      if (!m_new) forEachStoredRecord(sink);
      for (const auto& record : added) sink(record);
    };
    std::string registry;
    try {
      zlb::DeflateWriter writer(zlibLevel(m_level),
                                [&registry](const unsigned char* data, std::size_t n) {
                                  registry.append(reinterpret_cast<const char*>(data), n);
                                });
      std::size_t done = 0;
      eachRecord([&](const zlb::RecordImage& record) {
        writer.write(record.data(), kRecordSize);
        ++done;
        progress("Writing archive registry", done * kRecordSize, total * kRecordSize);
      });
      writer.finish();
      trailer.registryCompressed = true;
    } catch (const StoppedByUser&) {
      throw;
    } catch (const Error&) {
      // a registry zlib cannot compress is stored as plain records, which readers also accept
      trailer.registryCompressed = false;
      registry.clear();
      eachRecord([&](const zlb::RecordImage& record) {
        registry.append(reinterpret_cast<const char*>(record.data()), kRecordSize);
      });
    }
    temp.write(reinterpret_cast<const unsigned char*>(registry.data()), registry.size());
    trailer.registryLength = static_cast<std::uint32_t>(registry.size());
    trailer.crc = temp.crc();
    const zlb::TrailerImage image = zlb::encodeTrailer(trailer);
    temp.write(image.data(), image.size());
    temp.commitTo(m_name);
  } catch (const StoppedByUser&) {
    throw;
  } catch (const SourceUnreadable&) {
    throw;
  } catch (const FileWriteError& e) {
    // the temporary file is gone and the archive unchanged; the cause is what the disk said
    throw Error(withName("Unable to add file (%s)", utf8(paths[current])) + ": " + e.cause());
  } catch (const std::exception& e) {
    throw Error(withName("Unable to add file (%s)", utf8(paths[current])) + ": " + e.what());
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
  (void)fs::file_size(m_name, error);
  if (!archive || error) throw Error(withName("Unable to open file (%s)", utf8(m_name)));

  // all limits before the first byte is written
  if (m_entries.size() > m_limits.maxEntries) {
    throw Error(tooManyEntries(m_entries.size(), m_limits.maxEntries));
  }
  std::uint64_t extracted = 0;
  for (const ArchiveEntry& entry : m_entries) extracted += entry.uncompressedSize;
  if (extracted > m_limits.maxExtractedBytes) {
    throw Error("The archive would extract to too many bytes (" + std::to_string(extracted) +
                "; at most " + std::to_string(m_limits.maxExtractedBytes) + ")");
  }

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
    // a link or a hard link at the name is replaced by the rename, never written through
    if (fs::exists(fs::symlink_status(target, error)) && m_onReplaceFile &&
        !m_onReplaceFile(target)) {
      continue;
    }
    writeEntry(archive, index, target);
    if (m_onFileExtracted) m_onFileExtracted(target);
  }
  if (m_onProgress) m_onProgress(utf8(m_name), 0);
}

void Archive::writeEntry(std::istream& archive, int index, const fs::path& target) {
  const ArchiveEntry& entry = m_entries[static_cast<std::size_t>(index)];
  const std::string cannotWrite = withName("Unable to write file (%s)", utf8(target));
  std::optional<zlb::TempOutputFile> out;
  try {
    out.emplace(target.parent_path(), "extract-");
  } catch (const FileWriteError&) {
    throw Error(cannotWrite);
  }
  archive.clear();
  archive.seekg(static_cast<std::streamoff>(entry.dataOffset));
  // the registry check keeps every stored range inside the entry data, apart from the others
  const std::uint64_t region = entry.compressedSize;

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

  try {
    std::vector<unsigned char> block(kBlock);
    for (std::uint64_t left = entry.uncompressedSize; left > 0;) {
      const std::size_t got = readPiece(
          block.data(), static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size())));
      if (got == 0) throw Error(corruptFile(index));
      out->write(block.data(), got);
      left -= got;
      progress(extracting, entry.uncompressedSize - left, entry.uncompressedSize);
    }
    if (out->length() != entry.uncompressedSize) throw Error(corruptFile(index));
    if (m_checkCRC && out->crc() != entry.crc32) throw Error(corruptFile(index));
    out->commitTo(target);
  } catch (const FileWriteError&) {
    throw Error(cannotWrite);
  }
}

}  // namespace athup::security
