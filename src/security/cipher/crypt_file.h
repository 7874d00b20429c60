#pragma once

#include <filesystem>
#include <string_view>

#include "common/interaction.h"

namespace athup::security {

// Encrypts (mode "E") or decrypts (mode "D", either case) a file with the receipt-file cipher
// under this program's system code. A destination equal to the source is replaced in place
// through the destination name followed by "tmp". Any failure is shown in a message box and
// gives false; the source is then untouched and no "tmp" file or partial destination is left.
[[nodiscard]] bool cryptFileWithPassword(Interaction& ui, const std::filesystem::path& source,
                                         const std::filesystem::path& destination,
                                         std::string_view mode, std::string_view password);

// The same with the password of the version record.
[[nodiscard]] bool cryptFileByMode(Interaction& ui, const std::filesystem::path& source,
                                   const std::filesystem::path& destination, std::string_view mode);

}  // namespace athup::security
