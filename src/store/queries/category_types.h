#pragma once

#include <string>
#include <string_view>

// The three attachment categories: a type ("T02", "T08", "TET") names the index table and the
// filing file, a two-digit code ("02", "08", "14") the upload file names and index documents.
namespace athup::store {

[[nodiscard]] bool isCategoryType(std::string_view type);
// "ORBDB_ATH_T02" and so on; empty for any other type.
[[nodiscard]] std::string indexTableOf(std::string_view type);
// "T02_CRC" and so on; empty for any other type.
[[nodiscard]] std::string crcColumnOf(std::string_view type);
// "T02" -> "02", "T08" -> "08", "TET" -> "14"; any other text unchanged.
[[nodiscard]] std::string categoryCodeOf(std::string_view type);
// "02" -> "T02", "08" -> "T08", "14" -> "TET"; any other text unchanged.
[[nodiscard]] std::string categoryTypeOfCode(std::string_view code);

}  // namespace athup::store
