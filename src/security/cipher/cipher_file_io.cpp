#include "security/cipher/cipher_file_io.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <system_error>

#include "common/errors.h"

namespace athup::security {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string displayName(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path temporaryBeside(const std::filesystem::path& path) {
  std::random_device random;
  const auto tag = std::to_string(random()) + std::to_string(random());
  auto name = path.filename();
  name += ".part" + tag;
  return path.parent_path() / name;
}

}  // namespace

std::string readWholeFile(const std::filesystem::path& path) {
  // stdio reports reading a folder as an error, where a file stream would read it as empty.
#ifdef _WIN32
  std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
#else
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
#endif
  if (!file) throw Error("Cannot open file \"" + displayName(path) + "\".");
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
  if (std::ferror(file.get())) throw Error("Cannot read file \"" + displayName(path) + "\".");
  return content;
}

void replaceWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  const auto temporary = temporaryBeside(path);
  const auto fail = [&]() {
    std::error_code ignored;  // the write already failed; the leftover is only cleaned up
    std::filesystem::remove(temporary, ignored);
    throw Error("Cannot create file \"" + displayName(path) + "\".");
  };
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) fail();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) fail();
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) fail();
}

}  // namespace athup::security
