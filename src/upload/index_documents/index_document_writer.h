#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "store/engine/database.h"

namespace athup::upload {

// The attachment index documents of one taxpayer: for each category with assigned files, in the
// order "02", "08", "14", the file BAN + "_" + code + ".xml" in `folder` (UTF-8 without a
// byte-order mark, CR LF after every line) with one detail entry per assigned file. The upload
// run passes the serial and date of its pre-upload answer; media files pass both empty.
//
// Returns the files written, in that order. A missing folder raises athup::Error with
// "目的目錄不存在，請先建立!" before anything is written; a failed query or write raises
// athup::Error, and files written for earlier categories stay.
[[nodiscard]] std::vector<std::filesystem::path> writeIndexDocuments(
    store::Database& orbWin, std::string_view ban, const std::filesystem::path& folder,
    std::string_view period, std::string_view serial, std::string_view date);

}  // namespace athup::upload
