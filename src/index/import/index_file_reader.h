#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/engine/value.h"

namespace athup::index {

// Records read so far and the record count of the file, while a filing file is read.
using ReadProgress = std::function<void(std::int64_t done, std::int64_t total)>;

// Reads every record of a filing file of the type ("T02", "T08", "TET") into index rows: the
// line's fields under their column names (text as UTF-8, trailing fill blanks trimmed), FILE_SEQ
// counted from type + "000001" over the rows taken (T02 takes only lines of customs mode "1"), the
// raw copies and the type's CRC column set to `crc`. The file is only read. Raises athup::Error
// when the file cannot be opened or a number field holds no number; nothing is returned then.
// Warnings met while reading (a number field with odd characters) are appended to `warnings`,
// also when reading fails.
[[nodiscard]] std::vector<store::Params> readIndexFile(const std::filesystem::path& file,
                                                       std::string_view type,
                                                       const std::string& crc,
                                                       std::vector<std::string>& warnings,
                                                       const ReadProgress& progress = {});

// The number of records of a .T02 file whose customs mode is "1". Raises the reader's
// 無法開啟指定的檔案 error when the file cannot be opened.
[[nodiscard]] std::int64_t countUnclearedT02Lines(const std::filesystem::path& file);

}  // namespace athup::index
