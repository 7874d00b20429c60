#pragma once

#include <cstdint>
#include <string_view>

#include "store/engine/database.h"

namespace athup::store {

// Sums and counts over the period's attachment tables (alias ORBWIN): the assigned files and the
// index rows of each category.
class AttachmentQueries {
 public:
  explicit AttachmentQueries(Database& orbWin) : m_orbWin(orbWin) {}

  // Bytes of the BAN's files. An empty (trimmed) BAN gives 0 without a query; an empty fileSeq
  // or fileTp does not restrict the sum.
  [[nodiscard]] std::int64_t fileSizeTotal(std::string_view ban, std::string_view fileSeq,
                                           std::string_view fileTp);
  // Bytes of the BAN's files outside the index line fileSeq.
  [[nodiscard]] std::int64_t fileSizeTotalExcept(std::string_view ban, std::string_view fileSeq);
  [[nodiscard]] std::int64_t fileCount(std::string_view ban, std::string_view fileTp);
  // Index rows of the type ("T02", "T08", "TET") that have no file; 0 for other types.
  [[nodiscard]] std::int64_t rowsWithoutFiles(std::string_view ban, std::string_view type);

 private:
  Database& m_orbWin;
};

}  // namespace athup::store
