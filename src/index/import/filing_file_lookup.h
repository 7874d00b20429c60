#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace athup::index {

// The file named `name` in `folder` (UTF-8), found regardless of the letter case of its name: the
// filing program writes BAN.T02 while the import asks for BAN.t02, and both must find it on a
// case-sensitive file system too. An exact match wins; nullopt when there is none.
[[nodiscard]] std::optional<std::filesystem::path> findFilingFile(std::string_view folder,
                                                                  std::string_view name);

}  // namespace athup::index
