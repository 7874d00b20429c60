#include "store/engine/lock_files.h"

#include <system_error>

namespace athup::store {

void removeStaleLockFiles(const std::filesystem::path& folder) {
  for (const char* name : {"PARADOX.LCK", "PDOXUSRS.LCK"}) {
    std::error_code error;
    // A lock file still held by a running program cannot be deleted; it is not stale then.
    std::filesystem::remove(folder / name, error);
  }
}

}  // namespace athup::store
