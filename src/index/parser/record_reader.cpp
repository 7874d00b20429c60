#include "index/parser/record_reader.h"

#include <algorithm>
#include <system_error>

#include "common/errors.h"
#include "index/parser/parser_messages.h"
#include "index/parser/parsing_work_file.h"
#include "index/parser/text_lines.h"

namespace athup::index {
namespace {

// Raised inside Open for the failures that keep their own text.
class WorkFileError : public Error {
 public:
  using Error::Error;
};

std::string readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("read");
  std::string content;
  char block[65536];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    content.append(block, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) throw Error("read");
  return content;
}

}  // namespace

RecordReader::RecordReader() = default;

RecordReader::~RecordReader() {
  try {
    close();
  } catch (const Error&) {
    // Destruction cannot report; the file itself was left as it was.
  }
}

void RecordReader::setFileName(const std::filesystem::path& name) {
  if (name == m_fileName) return;
  close();
  m_fileName = name;
}

void RecordReader::setReadOnly(bool on) {
  if (!isOpen()) m_readOnly = on;
}

std::filesystem::path RecordReader::tempFolder() const {
  if (!m_tempFolder.empty()) return m_tempFolder;
  std::error_code error;
  const auto folder = std::filesystem::temp_directory_path(error);
  return error ? std::filesystem::path() : folder;
}

void RecordReader::setOpen(bool on) {
  if (on == isOpen()) return;
  if (on) {
    open();
  } else {
    close();
  }
}

void RecordReader::open() {
  close();
  m_recordLength = fieldDefinitions().recordLength();
  try {
    std::error_code error;
    if (!std::filesystem::exists(m_fileName, error) && m_allowCreate) {
      std::ofstream created(m_fileName, std::ios::binary);
    }
    if (!std::filesystem::is_regular_file(m_fileName, error)) throw Error("missing");

    if (!m_textLineMode) {
      openFixedRecords(m_fileName);
    } else if (m_readOnly) {
      openTextLines(m_fileName);
    } else {
      openFixedRecords(convertToWorkFile());
    }
    first();
  } catch (const WorkFileError&) {
    release();
    throw;
  } catch (const std::exception&) {
    release();
    throw Error(cannotOpenFileMessage(m_fileName));
  }
}

std::filesystem::path RecordReader::convertToWorkFile() {
  std::filesystem::path work;
  try {
    work = createWorkFile(tempFolder());
  } catch (const Error& e) {
    throw WorkFileError(e.what());
  }
  m_workFileName = work;
  m_ownsWorkFile = true;
  const std::string content = readWholeFile(m_fileName);
  std::ofstream out(work, std::ios::binary | std::ios::trunc);
  const LinePositions starts = scanLineStarts(content);
  for (int i = 0; i < starts.count(); ++i) {
    const std::string record =
        lineRecord(lineAt(content, starts.at(i)), static_cast<int>(m_recordLength));
    out.write(record.data(), static_cast<std::streamsize>(record.size()));
  }
  out.close();
  if (!out) throw Error("write");
  return work;
}

void RecordReader::openFixedRecords(const std::filesystem::path& path) {
  auto mode = std::ios::in | std::ios::binary;
  if (!m_readOnly) mode |= std::ios::out;
  m_stream.open(path, mode);
  if (!m_stream.is_open()) throw Error("open");
  m_stream.seekg(0, std::ios::end);
  m_fileSize = static_cast<std::int64_t>(m_stream.tellg());
  if (m_fileSize < 0) throw Error("size");
  m_workFileName = path;
  m_mode = Mode::FixedRecords;
}

void RecordReader::openTextLines(const std::filesystem::path& path) {
  m_content = readWholeFile(path);
  m_lineStarts = scanLineStarts(m_content);
  m_workFileName = path;
  m_mode = Mode::TextLines;
}

void RecordReader::release() {
  if (m_stream.is_open()) m_stream.close();
  m_stream.clear();
  m_content.clear();
  m_content.shrink_to_fit();
  m_lineStarts.clear();
  if (m_ownsWorkFile) {
    std::error_code ignored;  // only a temporary copy
    std::filesystem::remove(m_workFileName, ignored);
  }
  m_ownsWorkFile = false;
  m_workFileName.clear();
  m_mode = Mode::Closed;
  m_position = 0;
  m_fileSize = 0;
  m_line = 0;
}

void RecordReader::close() {
  if (!isOpen()) return;
  const bool writeBack = m_ownsWorkFile;
  const std::filesystem::path work = m_workFileName;
  if (m_stream.is_open()) m_stream.close();
  if (writeBack) {
    try {
      replaceWithWorkFile(m_fileName, work);
    } catch (const Error&) {
      release();
      throw;
    }
  }
  release();
}

void RecordReader::readRecord() {
  if (m_mode == Mode::TextLines) {
    const std::string_view line = m_lineStarts.count() == 0
                                      ? std::string_view()
                                      : lineAt(m_content, m_lineStarts.at(m_line));
    setRecordText(lineRecord(line, static_cast<int>(m_recordLength)));
    return;
  }
  // Never more than the file holds from here, however long the format says a record is.
  const std::int64_t available = std::max<std::int64_t>(m_fileSize - m_position, 0);
  std::string record(static_cast<std::size_t>(std::min(m_recordLength, available)), '\0');
  m_stream.clear();
  m_stream.seekg(m_position, std::ios::beg);
  m_stream.read(record.data(), static_cast<std::streamsize>(record.size()));
  record.resize(static_cast<std::size_t>(std::max<std::streamsize>(m_stream.gcount(), 0)));
  m_stream.clear();
  const auto nul = record.find('\0');
  if (nul != std::string::npos) record.resize(nul);
  setRecordText(std::move(record));
}

void RecordReader::first() {
  if (!isOpen()) return;
  m_position = 0;
  m_line = 0;
  readRecord();
}

void RecordReader::last() {
  if (!isOpen()) return;
  if (m_mode == Mode::TextLines) {
    m_line = std::max(m_lineStarts.count() - 1, 0);
  } else {
    // The start of the last whole record, so a short trailing part never shifts it.
    m_position = std::max<std::int64_t>(recordCount() - 1, 0) * m_recordLength;
  }
  readRecord();
}

void RecordReader::next() {
  if (!isOpen()) return;
  if (m_mode == Mode::TextLines) {
    if (m_line + 1 < m_lineStarts.count()) ++m_line;
  } else if (m_recordLength > 0 && m_position + 2 * m_recordLength <= m_fileSize) {
    m_position += m_recordLength;
  }
  readRecord();
}

void RecordReader::prior() {
  if (!isOpen()) return;
  if (m_mode == Mode::TextLines) {
    if (m_line > 0) --m_line;
  } else if (m_position >= m_recordLength) {
    m_position -= m_recordLength;
  }
  readRecord();
}

bool RecordReader::atBeginning() const {
  if (!isOpen()) return true;
  return m_mode == Mode::TextLines ? m_line == 0 : m_position == 0;
}

bool RecordReader::atEnd() const {
  if (!isOpen()) return true;
  if (m_mode == Mode::TextLines) return m_line >= m_lineStarts.count() - 1;
  return m_recordLength == 0 || m_position + 2 * m_recordLength > m_fileSize;
}

std::int64_t RecordReader::recordCount() const {
  switch (m_mode) {
    case Mode::TextLines:
      return m_lineStarts.count();
    case Mode::FixedRecords:
      return m_recordLength > 0 ? m_fileSize / m_recordLength : 0;  // no records without fields
    case Mode::Closed:
      break;
  }
  return 0;
}

std::int64_t RecordReader::recordNumber() const {
  switch (m_mode) {
    case Mode::TextLines:
      return m_line;
    case Mode::FixedRecords:
      return m_recordLength > 0 ? m_position / m_recordLength : 0;
    case Mode::Closed:
      break;
  }
  return 0;
}

}  // namespace athup::index
