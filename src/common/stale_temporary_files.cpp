#include "common/stale_temporary_files.h"

#include <string>
#include <system_error>

#include "common/atomic_file.h"

namespace athup::common {

namespace fs = std::filesystem;

namespace {

// Removes the entries of `folder` whose names `named` accepts, that are of the kind `wanted`
// accepts (never links) and that were last changed at least `minimumAge` ago.
template <typename Named, typename Wanted>
std::size_t removeStale(const fs::path& folder, Named named, std::chrono::seconds minimumAge,
                        Wanted wanted) {
  std::size_t removed = 0;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return 0;  // nothing to clean where nothing can be read
  const auto now = fs::file_time_type::clock::now();
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    const fs::path& path = it->path();
    const std::u8string name = path.filename().u8string();
    if (!named(std::string(name.begin(), name.end()))) continue;
    std::error_code itemError;
    const auto status = fs::symlink_status(path, itemError);
    if (itemError || !wanted(status)) continue;
    const auto written = fs::last_write_time(path, itemError);
    if (itemError || now - written < minimumAge) continue;
    if (fs::remove_all(path, itemError) > 0 && !itemError) ++removed;
  }
  return removed;
}

}  // namespace

std::size_t removeStaleTemporaryFiles(const fs::path& folder, std::chrono::seconds minimumAge) {
  // we only ever create plain files: a folder or a link with our prefix is someone else's
  return removeStale(
      folder, [](const std::string& name) { return name.starts_with(kTemporaryFilePrefix); },
      minimumAge, [](fs::file_status status) { return fs::is_regular_file(status); });
}

std::size_t removeStaleWorkFolders(const fs::path& folder, std::chrono::seconds minimumAge) {
  return removeStale(
      folder, [](const std::string& name) { return name.starts_with(kWorkFolderPrefix); },
      minimumAge, [](fs::file_status status) { return fs::is_directory(status); });
}

std::size_t removeStaleDecodedReceipts(const fs::path& folder, std::chrono::seconds minimumAge) {
  return removeStale(
      folder, [](const std::string& name) { return name.ends_with(kDecodedReceiptSuffix); },
      minimumAge, [](fs::file_status status) { return fs::is_regular_file(status); });
}

}  // namespace athup::common
