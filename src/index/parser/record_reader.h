#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "index/parser/record_format.h"
#include "index/parser/line_positions.h"

namespace athup::index {

// Reads a file as fixed-width records and gives the fields of the current record by name.
//
// Three ways of reading, chosen at Open:
// - TextLineMode off: fixed records of RecordLength bytes back to back (the filing files); a
//   trailing part shorter than a record is not a record.
// - TextLineMode on, ReadOnly on: each non-empty line is one record, read from memory.
// - TextLineMode on, ReadOnly off: the lines are converted into a work file of fixed records in
//   the temporary folder; at Close that converted file replaces the file.
class RecordReader : public RecordFormat {
 public:
  RecordReader();
  ~RecordReader() override;  // closes; a failed write-back is not reported from here

  [[nodiscard]] const std::filesystem::path& fileName() const { return m_fileName; }
  // A different name closes an open file first.
  void setFileName(const std::filesystem::path& name);

  [[nodiscard]] bool readOnly() const { return m_readOnly; }
  // Ignored while open.
  void setReadOnly(bool on);

  [[nodiscard]] bool textLineMode() const { return m_textLineMode; }
  void setTextLineMode(bool on) { m_textLineMode = on; }  // takes effect at the next Open

  [[nodiscard]] bool allowCreate() const { return m_allowCreate; }
  void setAllowCreate(bool on) { m_allowCreate = on; }

  // The folder for work files: the system temporary folder unless set.
  [[nodiscard]] std::filesystem::path tempFolder() const;
  void setTempFolder(const std::filesystem::path& folder) { m_tempFolder = folder; }

  // The file actually read: FileName, or the work file while one is open.
  [[nodiscard]] const std::filesystem::path& workFileName() const { return m_workFileName; }

  [[nodiscard]] bool isOpen() const { return m_mode != Mode::Closed; }
  void setOpen(bool on);

  // Opens and reads the first record. Raises athup::Error 無法開啟指定的檔案"<FileName>". when
  // the file is missing (and may not be created) or cannot be opened as required, and
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
  enum class Mode { Closed, FixedRecords, TextLines };

  void openFixedRecords(const std::filesystem::path& path);
  void openTextLines(const std::filesystem::path& path);
  [[nodiscard]] std::filesystem::path convertToWorkFile();
  void readRecord();
  void release();

  std::filesystem::path m_fileName;
  bool m_readOnly = false;
  bool m_textLineMode = true;
  bool m_allowCreate = true;
  std::filesystem::path m_tempFolder;

  Mode m_mode = Mode::Closed;
  std::filesystem::path m_workFileName;
  bool m_ownsWorkFile = false;
  std::int64_t m_recordLength = 0;

  std::fstream m_stream;  // fixed records
  std::int64_t m_fileSize = 0;
  std::int64_t m_position = 0;

  std::string m_content;  // text lines, in memory
  LinePositions m_lineStarts;
  int m_line = 0;
};

}  // namespace athup::index
