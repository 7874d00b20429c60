#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The path file "BIN/ORBPath.ini" in the shared documents folder: section OwnerPath, key DbPath
// for the import window's first mode and UpLoadPath for its second. The file is Big5 like every
// file the filing program shares; the folders are UTF-8 here.
namespace athup::app {

[[nodiscard]] std::filesystem::path pathIniFile(std::string_view docDir);

// Remembers the folder for mode 1 or 2 (creating the file); other modes write nothing.
void writePathIni(std::string_view docDir, std::string_view folder, int mode);

// The remembered folder for mode 1 or 2; empty when the file is missing, the mode is another, or
// the folder no longer exists.
[[nodiscard]] std::string readPathIni(std::string_view docDir, int mode);

}  // namespace athup::app
