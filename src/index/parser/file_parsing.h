#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "index/parser/custom_info_parsing.h"
#include "index/parser/pos_list.h"

namespace athup::index {

// Reads a file as fixed-width records and gives the fields of the current record by name.
//
// Three ways of reading, chosen at Open:
// - TextLineMode off: fixed records of RecordLength bytes back to back (the filing files); a
//   trailing part shorter than a record is not a record.
// - TextLineMode on, ReadOnly on: each non-empty line is one record, read from memory.
// - TextLineMode on, ReadOnly off: the lines are converted into a work file of fixed records in
//   the temporary folder; at Close that converted file replaces the file.
class TFileParsing : public TCustomInfoParsing {
 public:
  TFileParsing();
  ~TFileParsing() override;  // closes; a failed write-back is not reported from here

  [[nodiscard]] const std::filesystem::path& FileName() const { return m_fileName; }
  // A different name closes an open file first.
  void setFileName(const std::filesystem::path& name);

  [[nodiscard]] bool ReadOnly() const { return m_readOnly; }
  // Ignored while open.
  void setReadOnly(bool on);

  [[nodiscard]] bool TextLineMode() const { return m_textLineMode; }
  void setTextLineMode(bool on) { m_textLineMode = on; }  // takes effect at the next Open

  [[nodiscard]] bool AllowCreate() const { return m_allowCreate; }
  void setAllowCreate(bool on) { m_allowCreate = on; }

  // The folder for work files: the system temporary folder unless set.
  [[nodiscard]] std::filesystem::path TempFolder() const;
  void setTempFolder(const std::filesystem::path& folder) { m_tempFolder = folder; }

  // The file actually read: FileName, or the work file while one is open.
  [[nodiscard]] const std::filesystem::path& WorkFileName() const { return m_workFileName; }

  [[nodiscard]] bool Active() const { return m_mode != Mode::Closed; }
  void setActive(bool on);

  // Opens and reads the first record. Raises athup::Error 無法開啟指定的檔案"<FileName>". when
  // the file is missing (and may not be created) or cannot be opened as required, and
  // 無法建立FileParsing暫存檔. when no work file can be created.
  void Open();
  // Raises 無法寫回指定的檔案"<FileName>". when the work file cannot replace the file; the
  // parser is closed and the file left as it was.
  void Close();

  void First();
  void Last();
  void Next();
  void Prior();
  [[nodiscard]] bool Bof() const;
  [[nodiscard]] bool Eof() const;
  [[nodiscard]] std::int64_t RecordCount() const;
  [[nodiscard]] std::int64_t RecNo() const;

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
  TPosList m_lineStarts;
  int m_line = 0;
};

}  // namespace athup::index
