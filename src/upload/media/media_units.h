#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/engine/database.h"

namespace athup::upload {

// The taxpayers media files can be written for: those with index rows of any category and no
// index row left without a document.
class MediaUnits {
 public:
  // The taxpayer's name from the master; empty when the taxpayer is not there.
  using NameLookup = std::function<std::string(std::string_view ban)>;

  // BANs with an index row of any category that has no document.
  [[nodiscard]] static std::vector<std::string> incompleteBans(store::Database& orbWin);
  // BANs with index rows and none of them incomplete, sorted.
  [[nodiscard]] static std::vector<std::string> completeBans(store::Database& orbWin);

  // BAN + "(" + name + ")": how a taxpayer appears in the media window's lists.
  [[nodiscard]] static std::string entryText(std::string_view ban, std::string_view name);
  // The entries of the complete taxpayers, sorted.
  [[nodiscard]] static std::vector<std::string> entries(store::Database& orbWin,
                                                        const NameLookup& nameOf);
  // The BAN of an entry: its first eight characters, fewer when its name begins earlier.
  [[nodiscard]] static std::string banOfEntry(std::string_view entry);
};

}  // namespace athup::upload
