#pragma once

#include <filesystem>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "security/archive/archive_entry.h"
#include "security/archive/archive_layout.h"
#include "security/archive/archive_limits.h"

namespace athup::security {

// The archive container the filing server unpacks: each file as one zlib stream, then the
// compressed registry of 532-byte records, then a 36-byte trailer whose CRC-32 covers everything
// before it. Paths are std::filesystem paths; names and texts are UTF-8 (Big5 inside the file).
// Every failure throws athup::Error with the component's message text.
class Archive {
 public:
  // Msg and Percentage (0 to 100) of the piece just processed; "done" reports the archive name, 0.
  using ProgressEvent = std::function<void(const std::string& msg, int percentage)>;
  // Asked before an existing file is overwritten by an extraction; false keeps it.
  using ReplaceFileEvent = std::function<bool(const std::filesystem::path& fileName)>;
  // The path of a file just extracted, as written (below the recorded folder with
  // ExtractWithPath).
  using FileExtractedEvent = std::function<void(const std::filesystem::path& fileName)>;

  Archive() = default;
  ~Archive() = default;
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  void setCompressionLevel(CompressionLevel level) { m_level = level; }
  [[nodiscard]] CompressionLevel compressionLevel() const { return m_level; }
  void setCheckCrc(bool on) { m_checkCRC = on; }
  void setSavePaths(bool on) { m_savePaths = on; }
  void setExtractWithPath(bool on) { m_extractWithPath = on; }
  void setOnProgress(ProgressEvent handler) { m_onProgress = std::move(handler); }
  void setOnReplaceFile(ReplaceFileEvent handler) { m_onReplaceFile = std::move(handler); }
  void setOnFileExtracted(FileExtractedEvent handler) { m_onFileExtracted = std::move(handler); }
  void setLimits(const ArchiveLimits& limits) { m_limits = limits; }
  [[nodiscard]] const ArchiveLimits& limits() const { return m_limits; }

  // The open archive's name; empty when closed.
  [[nodiscard]] const std::filesystem::path& archiveName() const { return m_name; }

  // Takes the name for a new archive; nothing is written until the first AddFile. An empty name
  // leaves the component closed. Fails when a file of that name exists.
  void create(const std::filesystem::path& name);
  // Reads and verifies an archive; false for an empty name. Refuses a registry of more records
  // than the limits allow, and records whose stored bytes overlap one another, lie outside the
  // entry data, or claim more content than deflate can make of them.
  [[nodiscard]] bool open(const std::filesystem::path& name);
  void close();

  [[nodiscard]] int entryCount() const;
  [[nodiscard]] ArchiveEntry entry(int index) const;
  // Index of the record with the same key as the path (ignoring case), or -1.
  [[nodiscard]] int indexOfFile(const std::filesystem::path& path) const;

  // Adds one file; the same as addFiles with that file alone.
  void addFile(const std::filesystem::path& path);
  // Adds the files in order through one private temporary file beside the archive: the entries
  // so far are copied once, every new entry, the registry and the trailer are appended, and one
  // rename replaces the archive. A failure (the cause named in the message) or a kill leaves the
  // archive as it was; the temporary file is removed, or found later by its prefix.
  void addFiles(const std::vector<std::filesystem::path>& paths);
  // Writes every entry below the destination folder, each through a private temporary file that
  // replaces the target only once its size (and, with CheckCRC, its checksum) is right: a failing
  // entry stops the extraction and leaves the file at its name as it was. Refuses to start when
  // the entries exceed the limits.
  void extractAll(const std::filesystem::path& destination);

 private:
  struct Key {
    std::string big5Name;
    std::string big5Folder;
    std::string utf8;  // folder and name as compared
  };

  void reset();
  void requireOpen() const;
  // The record key of a path: its name (and folder, with SavePaths) as a record holds them.
  // Throws athup::Error when Big5 cannot hold the name.
  [[nodiscard]] Key makeKey(const std::filesystem::path& path) const;
  [[nodiscard]] int indexOfKey(const std::string& utf8Key) const;
  void readRegistry(std::istream& in, std::uint64_t fileSize);
  // Calls `sink` with each record image of the registry as stored in the open archive's file.
  void forEachStoredRecord(const std::function<void(const zlb::RecordImage&)>& sink) const;
  void writeEntry(std::istream& archive, int index, const std::filesystem::path& target);
  void progress(const std::string& msg, std::uint64_t done, std::uint64_t total) const;

  CompressionLevel m_level = CompressionLevel::Default;
  bool m_checkCRC = false;
  bool m_savePaths = false;
  bool m_extractWithPath = false;
  ProgressEvent m_onProgress;
  ReplaceFileEvent m_onReplaceFile;
  FileExtractedEvent m_onFileExtracted;
  ArchiveLimits m_limits;

  std::filesystem::path m_name;
  bool m_new = false;
  zlb::Trailer m_trailer;
  // the decoded records only: an add copies the stored images from the file, unchanged
  std::vector<ArchiveEntry> m_entries;
};

}  // namespace athup::security
