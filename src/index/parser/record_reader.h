#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "index/parser/record_format.h"

namespace athup::common {
class PrivateTempFolder;
}

namespace athup::index {

// How a file is read; chosen before Open.
enum class ParsingMode {
  // Fixed records of RecordLength bytes back to back (the filing files); a trailing part shorter
  // than a record is not a record.
  FixedRecords,
  // Each non-empty line is one record, read from memory.
  TextLines,
  // The lines are converted into a work file of fixed records in a private temporary folder; at
  // Close the converted text replaces the file through the atomic writer. The only mode that
  // writes to the file.
  TextLinesWorkFile,
};

// Reads a file as fixed-width records and gives the fields of the current record by name. The
// file is opened read-only (a filing file on read-only media parses) and, unless asked, never
// created and never written.
class RecordReader : public RecordFormat {
 public:
  RecordReader();
  ~RecordReader() override;  // closes; a failed write-back is not reported from here

  [[nodiscard]] const std::filesystem::path& fileName() const { return m_fileName; }
  // A different name closes an open file first.
  void setFileName(const std::filesystem::path& name);

  [[nodiscard]] ParsingMode mode() const { return m_parsingMode; }
  // Ignored while open.
  void setMode(ParsingMode mode);

  // Whether Open creates a missing file empty; off unless set.
  [[nodiscard]] bool createIfMissing() const { return m_createIfMissing; }
  void setCreateIfMissing(bool on) { m_createIfMissing = on; }

  // The folder for work files; unset, each open makes a private one under the system's temporary
  // folder and removes it at Close.
  void setTempFolder(const std::filesystem::path& folder) { m_tempFolder = folder; }

  // The file actually read: FileName, or the work file while one is open.
  [[nodiscard]] const std::filesystem::path& workFileName() const { return m_workFileName; }

  // In text-line reading, whether the file started with the UTF-8 mark (dropped from the first
  // line): its lines are UTF-8 rather than Big5.
  [[nodiscard]] bool isUtf8Text() const { return m_utf8Text; }

  [[nodiscard]] bool isOpen() const { return m_state != State::Closed; }
  void setOpen(bool on);

  // Opens and reads the first record. Raises athup::Error 無法開啟指定的檔案"<FileName>". when
  // the file is missing (and may not be created) or cannot be read, and
  // 無法建立FileParsing暫存檔. when no work file can be created.
  void open();
  // Raises 無法寫回指定的檔案"<FileName>". when the work file cannot replace the file; the
  // parser is closed and the file left as it was.
  void close();

  void first();
  void last();
  void next();
  void prior();
  [[nodiscard]] bool atBeginning() const;
  [[nodiscard]] bool atEnd() const;
  [[nodiscard]] std::int64_t recordCount() const;
  [[nodiscard]] std::int64_t recordNumber() const;

 private:
  enum class State { Closed, FixedRecords, TextLines };

  void openFixedRecords(const std::filesystem::path& path);
  void openTextLines(const std::filesystem::path& path);
  [[nodiscard]] std::filesystem::path convertToWorkFile();
  void readRecord();
  void release();

  std::filesystem::path m_fileName;
  ParsingMode m_parsingMode = ParsingMode::FixedRecords;
  bool m_createIfMissing = false;
  std::filesystem::path m_tempFolder;

  State m_state = State::Closed;
  std::filesystem::path m_workFileName;
  std::unique_ptr<common::PrivateTempFolder> m_privateFolder;
  bool m_ownsWorkFile = false;
  std::int64_t m_recordLength = 0;

  std::ifstream m_stream;  // fixed records
  std::int64_t m_fileSize = 0;
  std::int64_t m_position = 0;
  // Where the stream stands: a sequential read needs no seek, which would drop the read buffer.
  std::int64_t m_streamPosition = -1;

  std::string m_content;  // text lines, in memory, without a leading UTF-8 mark
  bool m_utf8Text = false;
  std::vector<std::int64_t> m_lineStarts;
  std::int64_t m_line = 0;
};

// The last `count` lines of a text file, the last one first, each cut to `width` - 2 bytes with
// blanks trimmed, as UTF-8 under the text file rule (a leading UTF-8 mark means UTF-8, else Big5).
// A file with fewer lines repeats its first line; one without lines gives empty texts. Raises
// athup::Error 無法開啟指定的檔案"<file>". when the file is missing or unreadable; never creates
// or writes it.
[[nodiscard]] std::vector<std::string> readLastLines(const std::filesystem::path& file,
                                                     std::size_t count, int width);

}  // namespace athup::index
