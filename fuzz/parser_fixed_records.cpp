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
#include "index/parser/file_parsing.h"
#include "fuzz_check.h"

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

  athup::index::TFileParsing parser;
  parser.setTextLineMode(false);
  parser.setReadOnly((data[0] & 0x80) != 0);
  parser.setAllowCreate(false);
  std::int64_t recordLength = 0;
  for (std::size_t f = 0; f < fields; ++f) {
    const std::uint8_t shape = data[1 + 2 * f];
    const int width = shape & 31;
    recordLength += width;
    parser.FieldDefs().add("F" + std::to_string(f), width,
                           (shape & 32) ? athup::index::TParsingAlignment::paRight
                                        : athup::index::TParsingAlignment::paLeft,
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
    parser.Open();
  } catch (const athup::Error&) {
    std::abort();  // an existing regular file always opens
  }
  const std::int64_t fileSize = static_cast<std::int64_t>(size - start);
  const std::int64_t count = parser.RecordCount();
  FUZZ_CHECK(count == (recordLength > 0 ? fileSize / recordLength : 0));

  auto readAll = [&] {
    for (int f = 0; f < parser.FieldCount(); ++f) {
      const auto& field = parser.Fields(f);
      FUZZ_CHECK(field.RawText().size() <= static_cast<std::size_t>(field.FieldDef().Size()));
      FUZZ_CHECK(field.AsString().size() <= field.RawText().size());
      (void)field.AsCurrency();
      (void)field.AsUtf8();
      FUZZ_CHECK(field.IsNull() == (field.FieldDef().Size() == 0 || field.AsString().empty()));
    }
    FUZZ_CHECK(parser.RecordText().size() <= static_cast<std::size_t>(recordLength));
    FUZZ_CHECK(parser.RecNo() >= 0 && parser.RecNo() <= std::max<std::int64_t>(count - 1, 0));
  };
  for (std::int64_t i = 0; i < count; ++i) {
    FUZZ_CHECK(parser.RecNo() == i);
    readAll();
    parser.Next();
  }
  parser.Last();
  readAll();
  FUZZ_CHECK(parser.Eof());
  for (std::int64_t i = 0; i <= count; ++i) {
    readAll();
    parser.Prior();
  }
  FUZZ_CHECK(parser.Bof());
  parser.Close();
  return 0;
}
