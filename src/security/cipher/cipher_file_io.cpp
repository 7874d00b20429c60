#include "security/cipher/cipher_file_io.h"

#include "common/atomic_file.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/whole_file.h"

namespace athup::security {
namespace {

std::string displayName(const std::filesystem::path& path) {
  return common::utf8FromPath(path);
}

}  // namespace

std::string readWholeFile(const std::filesystem::path& path) {
  try {
    return common::readWholeFile(path);
  } catch (const common::WholeFileError& e) {
    throw Error((e.opened() ? "Cannot read file \"" : "Cannot open file \"") + displayName(path) +
                "\".");
  }
}

void replaceWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  try {
    common::writeFileAtomically(path, bytes);
  } catch (const Error&) {
    throw Error("Cannot create file \"" + displayName(path) + "\".");
  }
}

}  // namespace athup::security
