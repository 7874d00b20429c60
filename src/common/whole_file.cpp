#include "common/whole_file.h"

#include <cstdio>
#include <memory>
#include <system_error>

#include "common/file_helpers.h"

namespace athup::common {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string readWholeFile(const std::filesystem::path& path) {
  // stdio reports reading a folder as an error, where a file stream would read it as empty.
#ifdef _WIN32
  std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
#else
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
#endif
  if (!file) throw WholeFileError("無法開啟檔案 \"" + utf8FromPath(path) + "\"。", false);
  std::string content;
  std::error_code unknownSize;  // without a size the string simply grows as it reads
  const auto size = std::filesystem::file_size(path, unknownSize);
  if (!unknownSize) content.reserve(static_cast<std::size_t>(size));
  char buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    content.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file.get())) {
    throw WholeFileError("無法讀取檔案 \"" + utf8FromPath(path) + "\"。", true);
  }
  return content;
}

}  // namespace athup::common
