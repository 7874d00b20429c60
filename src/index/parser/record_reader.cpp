#include "index/parser/record_reader.h"

#include <algorithm>
#include <system_error>

#include "common/atomic_file.h"
#include "common/big5.h"
#include "common/big5_text_file.h"
#include "common/errors.h"
#include "common/private_folder.h"
#include "common/text_helpers.h"
#include "common/whole_file.h"
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

constexpr std::string_view kPrivateFolderPrefix = "athup-parse-";

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

void RecordReader::setMode(ParsingMode mode) {
  if (!isOpen()) m_parsingMode = mode;
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
    if (m_createIfMissing && !std::filesystem::exists(m_fileName, error)) {
      common::writeFileAtomically(m_fileName, {});
    }
    if (!std::filesystem::is_regular_file(m_fileName, error)) throw Error("missing");

    switch (m_parsingMode) {
      case ParsingMode::FixedRecords:
        openFixedRecords(m_fileName);
        break;
      case ParsingMode::TextLines:
        openTextLines(m_fileName);
        break;
      case ParsingMode::TextLinesWorkFile:
        openFixedRecords(convertToWorkFile());
        break;
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
  const std::string content = common::readWholeFile(m_fileName);
  std::string records;
  for (const std::int64_t start : scanLineStarts(content)) {
    records += lineRecord(lineAt(content, start), static_cast<int>(m_recordLength));
  }
  try {
    std::filesystem::path folder = m_tempFolder;
    if (folder.empty()) {
      m_privateFolder = std::make_unique<common::PrivateTempFolder>(kPrivateFolderPrefix);
      folder = m_privateFolder->path();
    }
    m_workFileName = createWorkFile(folder, records);
  } catch (const Error&) {
    throw WorkFileError(cannotCreateWorkFileMessage());
  }
  m_ownsWorkFile = true;
  return m_workFileName;
}

void RecordReader::openFixedRecords(const std::filesystem::path& path) {
  m_stream.open(path, std::ios::in | std::ios::binary);
  if (!m_stream.is_open()) throw Error("open");
  m_stream.seekg(0, std::ios::end);
  m_fileSize = static_cast<std::int64_t>(m_stream.tellg());
  m_streamPosition = -1;
  if (m_fileSize < 0) throw Error("size");
  m_workFileName = path;
  m_state = State::FixedRecords;
}

void RecordReader::openTextLines(const std::filesystem::path& path) {
  m_content = common::readWholeFile(path);
  const common::TextFileBody body = common::splitByteOrderMark(m_content);
  m_utf8Text = body.utf8;
  if (body.utf8) m_content.erase(0, common::kUtf8ByteOrderMark.size());
  m_lineStarts = scanLineStarts(m_content);
  m_workFileName = path;
  m_state = State::TextLines;
}

void RecordReader::release() {
  if (m_stream.is_open()) m_stream.close();
  m_streamPosition = -1;
  m_stream.clear();
  m_content.clear();
  m_content.shrink_to_fit();
  m_utf8Text = false;
  m_lineStarts.clear();
  if (m_ownsWorkFile) {
    std::error_code ignored;  // only a temporary copy
    std::filesystem::remove(m_workFileName, ignored);
  }
  m_privateFolder.reset();
  m_ownsWorkFile = false;
  m_workFileName.clear();
  m_state = State::Closed;
  m_position = 0;
  m_fileSize = 0;
  m_line = 0;
}

void RecordReader::close() {
  if (!isOpen()) return;
  if (m_stream.is_open()) m_stream.close();
  m_streamPosition = -1;
  if (m_ownsWorkFile) {
    try {
      replaceWithWorkFile(m_fileName, m_workFileName);
    } catch (const Error&) {
      release();
      throw;
    }
  }
  release();
}

void RecordReader::readRecord() {
  if (m_state == State::TextLines) {
    const std::string_view line =
        m_lineStarts.empty() ? std::string_view()
                             : lineAt(m_content, m_lineStarts[static_cast<std::size_t>(m_line)]);
    setRecordText(lineRecord(line, static_cast<int>(m_recordLength)));
    return;
  }
  // Never more than the file holds from here, however long the format says a record is.
  const std::int64_t available = std::max<std::int64_t>(m_fileSize - m_position, 0);
  std::string record(static_cast<std::size_t>(std::min(m_recordLength, available)), '\0');
  m_stream.clear();
  if (m_streamPosition != m_position) m_stream.seekg(m_position, std::ios::beg);
  m_stream.read(record.data(), static_cast<std::streamsize>(record.size()));
  const auto got = std::max<std::streamsize>(m_stream.gcount(), 0);
  record.resize(static_cast<std::size_t>(got));
  m_streamPosition = m_stream.fail() ? -1 : m_position + got;
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
  if (m_state == State::TextLines) {
    m_line = std::max<std::int64_t>(recordCount() - 1, 0);
  } else {
    // The start of the last whole record, so a short trailing part never shifts it.
    m_position = std::max<std::int64_t>(recordCount() - 1, 0) * m_recordLength;
  }
  readRecord();
}

void RecordReader::next() {
  if (!isOpen()) return;
  if (m_state == State::TextLines) {
    if (m_line + 1 < recordCount()) ++m_line;
  } else if (m_recordLength > 0 && m_position + 2 * m_recordLength <= m_fileSize) {
    m_position += m_recordLength;
  }
  readRecord();
}

void RecordReader::prior() {
  if (!isOpen()) return;
  if (m_state == State::TextLines) {
    if (m_line > 0) --m_line;
  } else if (m_position >= m_recordLength) {
    m_position -= m_recordLength;
  }
  readRecord();
}

bool RecordReader::atBeginning() const {
  if (!isOpen()) return true;
  return m_state == State::TextLines ? m_line == 0 : m_position == 0;
}

bool RecordReader::atEnd() const {
  if (!isOpen()) return true;
  if (m_state == State::TextLines) return m_line >= recordCount() - 1;
  return m_recordLength == 0 || m_position + 2 * m_recordLength > m_fileSize;
}

std::int64_t RecordReader::recordCount() const {
  switch (m_state) {
    case State::TextLines:
      return static_cast<std::int64_t>(m_lineStarts.size());
    case State::FixedRecords:
      return m_recordLength > 0 ? m_fileSize / m_recordLength : 0;  // no records without fields
    case State::Closed:
      break;
  }
  return 0;
}

std::int64_t RecordReader::recordNumber() const {
  switch (m_state) {
    case State::TextLines:
      return m_line;
    case State::FixedRecords:
      return m_recordLength > 0 ? m_position / m_recordLength : 0;
    case State::Closed:
      break;
  }
  return 0;
}

std::vector<std::string> readLastLines(const std::filesystem::path& file, std::size_t count,
                                       int width) {
  RecordReader parser;
  // The line as written: blanks inside it stay.
  parser.fieldDefinitions().add("LINE", width, FieldAlignment::Left, ' ', false);
  parser.setMode(ParsingMode::TextLines);
  parser.setFileName(file);
  parser.open();
  parser.last();
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string line = common::trimBlanks(parser.fieldByName("LINE").rawText());
    lines.push_back(parser.isUtf8Text() ? line : common::big5ToUtf8(line));
    parser.prior();  // stays on the first line once there
  }
  return lines;
}

}  // namespace athup::index
