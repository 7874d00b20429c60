#include "store/engine/table_files.h"

#include <system_error>

#include "common/file_helpers.h"

namespace athup::store {

namespace fs = std::filesystem;

std::string tableFileName(std::string_view table) {
  return std::string(table) + ".DB";
}

namespace {

// The entry of `folder` named `name` ignoring case that passes `accept`, the exact spelling first.
template <typename Accept>
fs::path findEntry(const fs::path& folder, std::string_view name, Accept accept) {
  std::error_code error;
  const fs::path exact = folder / fs::path(std::string(name));
  if (accept(exact)) {
    return exact;
  }
  const std::string key = upperAscii(name);
  fs::path best;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path candidate = it->path();
    // Compared as UTF-8: a neighbour whose name the system code page cannot hold must not
    // break the lookup.
    if (upperAscii(common::utf8FromPath(candidate.filename())) == key && accept(candidate)) {
      // Several spellings on a case-sensitive disk: take the first in name order, for a stable
      // choice.
      if (best.empty() || candidate.filename() < best.filename()) {
        best = candidate;
      }
    }
  }
  return best;
}

}  // namespace

fs::path findFileIgnoringCase(const fs::path& folder, std::string_view fileName) {
  return findEntry(folder, fileName, [](const fs::path& p) {
    std::error_code error;
    return fs::is_regular_file(p, error);
  });
}

fs::path resolveFolderIgnoringCase(const fs::path& folder, std::string_view name) {
  fs::path found = findEntry(folder, name, [](const fs::path& p) {
    std::error_code error;
    return fs::is_directory(p, error);
  });
  return found.empty() ? folder / fs::path(std::string(name)) : found;
}

fs::path findTableFile(const fs::path& folder, std::string_view table) {
  return findFileIgnoringCase(folder, tableFileName(table));
}

}  // namespace athup::store
