#include "index/import/filing_file_lookup.h"

#include <system_error>

#include "common/ascii.h"
#include "common/file_helpers.h"

namespace athup::index {

std::optional<std::filesystem::path> findFilingFile(std::string_view folder,
                                                    std::string_view name) {
  namespace fs = std::filesystem;
  const fs::path dir = common::pathFromUtf8(folder);
  std::error_code error;
  const fs::path exact = dir / common::pathFromUtf8(name);
  if (fs::is_regular_file(exact, error)) {
    return exact;
  }
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    if (common::upperAscii(common::utf8FromPath(it->path().filename())) ==
            common::upperAscii(name) &&
        it->is_regular_file(error)) {
      return it->path();
    }
  }
  return std::nullopt;
}

}  // namespace athup::index
