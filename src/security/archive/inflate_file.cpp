#include "security/archive/inflate_file.h"

#include <fstream>
#include <optional>
#include <vector>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "security/archive/file_write_error.h"
#include "security/archive/inflate_reader.h"
#include "security/archive/temp_output_file.h"

namespace athup::security {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

}  // namespace

void inflateFile(const fs::path& source, const fs::path& destination) {
  std::ifstream in(source, std::ios::binary);
  if (!in) throw Error("檔案讀取失敗");
  std::error_code error;
  const std::uint64_t size = fs::file_size(source, error);
  if (error) throw Error("檔案讀取失敗");

  std::optional<zlb::TempOutputFile> out;
  try {
    fs::path folder = destination.parent_path();
    if (folder.empty()) folder = ".";
    out.emplace(folder, "inflate-");
  } catch (const FileWriteError&) {
    throw Error("Cannot create file " + common::utf8FromPath(destination));
  }
  zlb::InflateReader reader(in, size);
  std::vector<unsigned char> block(kBlockSize);
  try {
    for (;;) {
      const std::size_t got = reader.read(block.data(), block.size());
      if (got == 0) break;
      out->write(block.data(), got);
    }
    // the data ended before the stream did: a cut-off download, not a result file
    if (!reader.ended()) throw Error("Decompress error: unexpected end of data");
    out->commitTo(destination);
  } catch (const FileWriteError&) {
    throw Error("Write error");
  }
}

}  // namespace athup::security
