#include "index/parser/parsing_work_file.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "common/errors.h"
#include "index/parser/parser_messages.h"

namespace athup::index {
namespace {

constexpr unsigned kNumbers = 0xFFFF;  // 0001 to FFFF

std::string workFileName(unsigned number) {
  char name[16];
  std::snprintf(name, sizeof name, "~FP%04X.tmp", number);
  return name;
}

// Creates the file only when the name is free ("x": exclusive), so two parsers never share one.
bool createExclusive(const std::filesystem::path& path) {
#ifdef _WIN32
  std::FILE* file = _wfopen(path.c_str(), L"wbx");
#else
  std::FILE* file = std::fopen(path.c_str(), "wbx");
#endif
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

}  // namespace

std::filesystem::path createWorkFile(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) throw Error(cannotCreateWorkFileMessage());
  // Start at a number that differs between runs, as the system's own unique names do.
  const auto seed =
      static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFF);
  for (unsigned attempt = 0; attempt < kNumbers; ++attempt) {
    const unsigned number = (seed + attempt) % kNumbers + 1;
    const auto path = folder / workFileName(number);
    if (std::filesystem::exists(path, error)) continue;
    if (createExclusive(path)) return path;
  }
  throw Error(cannotCreateWorkFileMessage());
}

void replaceWithWorkFile(const std::filesystem::path& target, const std::filesystem::path& work) {
  std::filesystem::path copy = target;
  copy += ".~FP";
  std::error_code error;
  std::filesystem::copy_file(work, copy, std::filesystem::copy_options::overwrite_existing, error);
  if (!error) std::filesystem::rename(copy, target, error);
  if (error) {
    std::error_code ignored;  // a partial copy beside the file is of no use to anyone
    if (!std::filesystem::is_directory(copy, ignored)) std::filesystem::remove(copy, ignored);
    throw Error(cannotWriteBackMessage(target));
  }
}

}  // namespace athup::index
