#pragma once

#include <filesystem>

namespace athup::store {

// Deletes the engine's lock files "PARADOX.LCK" and "PDOXUSRS.LCK" left in `folder` by a program
// that did not end cleanly. A file that cannot be deleted is left (another program holds it).
void removeStaleLockFiles(const std::filesystem::path& folder);

}  // namespace athup::store
