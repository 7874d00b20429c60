#include "common/stale_temporary_files.h"

#include <string>
#include <system_error>

#include "common/atomic_file.h"

namespace athup::common {

namespace fs = std::filesystem;

std::size_t removeStaleTemporaryFiles(const fs::path& folder, std::chrono::seconds minimumAge) {
  std::size_t removed = 0;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return 0;  // nothing to clean where nothing can be read
  const auto now = fs::file_time_type::clock::now();
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    const fs::path& path = it->path();
    const std::u8string name = path.filename().u8string();
    if (!std::string(name.begin(), name.end()).starts_with(kTemporaryFilePrefix)) continue;
    std::error_code itemError;
    // we only ever create plain files: a folder or a link with our prefix is someone else's
    const auto status = fs::symlink_status(path, itemError);
    if (itemError || !fs::is_regular_file(status)) continue;
    const auto written = fs::last_write_time(path, itemError);
    if (itemError || now - written < minimumAge) continue;
    if (fs::remove(path, itemError)) ++removed;
  }
  return removed;
}

}  // namespace athup::common
