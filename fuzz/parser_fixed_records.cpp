// The fixed-record reader on arbitrary files and layouts. The first bytes choose the layout (up
// to eight fields of width 0 to 31, alignment, fill, filtering); the rest is the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/errors.h"
#include "fuzz_check.h"
#include "index/parser/record_reader.h"

namespace {

const std::filesystem::path& fuzzFile() {
  static const auto path = std::filesystem::temp_directory_path() /
                           ("athup-fuzz-fixed-" + std::to_string(::getpid()) + ".T02");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t fields = data[0] % 9;
  if (size < 1 + 2 * fields) return 0;

  athup::index::RecordReader parser;
  parser.setMode(athup::index::ParsingMode::FixedRecords);
  std::int64_t recordLength = 0;
  for (std::size_t f = 0; f < fields; ++f) {
    const std::uint8_t shape = data[1 + 2 * f];
    const int width = shape & 31;
    recordLength += width;
    parser.fieldDefinitions().add(
        "F" + std::to_string(f), width,
        (shape & 32) ? athup::index::FieldAlignment::Right : athup::index::FieldAlignment::Left,
        static_cast<char>(data[2 + 2 * f]), (shape & 64) != 0);
  }
  const std::size_t start = 1 + 2 * fields;
  {
    std::ofstream out(fuzzFile(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + start),
              static_cast<std::streamsize>(size - start));
  }

  parser.setFileName(fuzzFile());
  try {
    parser.open();
  } catch (const athup::Error&) {
    std::abort();  // an existing regular file always opens
  }
  const std::int64_t fileSize = static_cast<std::int64_t>(size - start);
  const std::int64_t count = parser.recordCount();
  FUZZ_CHECK(count == (recordLength > 0 ? fileSize / recordLength : 0));

  auto readAll = [&] {
    for (int f = 0; f < parser.fieldCount(); ++f) {
      const auto& field = parser.field(f);
      FUZZ_CHECK(field.rawText().size() <= static_cast<std::size_t>(field.definition().size()));
      FUZZ_CHECK(field.asString().size() <= field.rawText().size());
      (void)field.asCurrency();
      (void)field.asUtf8();
      FUZZ_CHECK(field.isNull() == (field.definition().size() == 0 || field.asString().empty()));
    }
    FUZZ_CHECK(parser.recordText().size() <= static_cast<std::size_t>(recordLength));
    FUZZ_CHECK(parser.recordNumber() >= 0 &&
               parser.recordNumber() <= std::max<std::int64_t>(count - 1, 0));
  };
  for (std::int64_t i = 0; i < count; ++i) {
    FUZZ_CHECK(parser.recordNumber() == i);
    readAll();
    parser.next();
  }
  parser.last();
  readAll();
  FUZZ_CHECK(parser.atEnd());
  for (std::int64_t i = 0; i <= count; ++i) {
    readAll();
    parser.prior();
  }
  FUZZ_CHECK(parser.atBeginning());
  parser.close();
  return 0;
}
