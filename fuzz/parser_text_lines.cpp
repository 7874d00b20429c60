// The text-line reader, in memory (read-only) and through a work file, on arbitrary files. The
// first byte chooses the record length and the mode; the rest is the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "common/errors.h"
#include "fuzz_check.h"
#include "index/parser/record_reader.h"

namespace {

std::filesystem::path fuzzFolder() {
  static const auto folder = [] {
    auto path =
        std::filesystem::temp_directory_path() / ("athup-fuzz-lines-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path / "tmp");
    return path;
  }();
  return folder;
}

// Lines as the reader defines them: runs of bytes other than CR, LF and Ctrl-Z, up to a Ctrl-Z.
std::int64_t referenceLineCount(const std::string& content) {
  std::int64_t lines = 0;
  bool inLine = false;
  for (const char ch : content) {
    if (ch == 26) break;
    const bool separator = ch == '\r' || ch == '\n';
    if (!separator && !inLine) ++lines;
    inLine = !separator;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int recordLength = data[0] & 63;
  const bool readOnly = (data[0] & 64) != 0;
  const std::string content(reinterpret_cast<const char*>(data + 1), size - 1);
  const auto file = fuzzFolder() / "notice.txt";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }

  athup::index::RecordReader parser;
  parser.setMode(readOnly ? athup::index::ParsingMode::TextLines
                          : athup::index::ParsingMode::TextLinesWorkFile);
  parser.setTempFolder(fuzzFolder() / "tmp");
  parser.fieldDefinitions().add("LINE", recordLength, athup::index::FieldAlignment::Left, ' ',
                                (data[0] & 128) != 0);
  parser.setFileName(file);
  try {
    parser.open();
  } catch (const athup::Error&) {
    std::abort();
  }
  const std::int64_t count = parser.recordCount();
  // Read in memory, a leading UTF-8 mark is no part of the text; the work file keeps every byte.
  const bool marked = readOnly && content.starts_with("\xEF\xBB\xBF");
  const std::int64_t expected = referenceLineCount(marked ? content.substr(3) : content);
  // Through a work file, a format without width gives records of no bytes, so no records.
  FUZZ_CHECK(count == (readOnly || recordLength > 0 ? expected : 0));

  for (std::int64_t i = 0; i < count; ++i) {
    FUZZ_CHECK(parser.recordNumber() == i);
    if (readOnly || recordLength > 0) {
      // Work-file records are cut at a NUL; the converter leaves none, so both are full length.
      FUZZ_CHECK(parser.recordText().size() == static_cast<std::size_t>(recordLength));
    }
    (void)parser.fieldByName("LINE").asString();
    parser.next();
  }
  parser.last();
  for (std::int64_t i = 0; i <= count; ++i) parser.prior();
  FUZZ_CHECK(parser.atBeginning());
  parser.close();

  if (!readOnly) {
    std::ifstream in(file, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    FUZZ_CHECK(written.size() == static_cast<std::size_t>(expected * recordLength));
    FUZZ_CHECK(std::filesystem::is_empty(fuzzFolder() / "tmp"));
  }
  return 0;
}
