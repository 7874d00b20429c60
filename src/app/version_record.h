#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/interaction.h"

// The program's version record: the encrypted INI file "version" beside the program, with the
// version in hundredths (section Version, key now) and the release date as ROC YYYMMDD (section
// VersionDate, key date).
namespace athup::app {

struct VersionInfo {
  std::string gVersion;          // "105" means 1.05
  std::string gVersionDate;      // ROC YYYMMDD
  std::string gVersionDateText;  // "版本日期：108年03月15日"
};

// Reads the record into version and versionDate. A missing file gives "xxxx" and "xxxxxxxx" and
// false. A file that does not decrypt has its message shown by the cipher and gives false with
// both outputs unchanged. The plain text goes to a uniquely named file in tempFolder (the
// program's folder may be read-only and is shared by every user) that is always deleted.
[[nodiscard]] bool readVersionInfo(const std::filesystem::path& file, std::string& version,
                                   std::string& versionDate, Interaction& interaction,
                                   const std::filesystem::path& tempFolder);

// "版本日期：" + YYY + "年" + MM + "月" + DD + "日"; pieces beyond the text's end are empty.
[[nodiscard]] std::string versionDateText(std::string_view versionDate);

// "Version " + the version in hundredths as a number with two decimals; a version that is not a
// number counts 0 ("xxxx" gives "Version 0.00").
[[nodiscard]] std::string versionLabel(std::string_view version);

// Start-up's reading: the record beside the program, placeholders kept on a missing file, the
// date text built from whatever was read.
[[nodiscard]] VersionInfo loadVersionInfo(const std::filesystem::path& file,
                                          Interaction& interaction,
                                          const std::filesystem::path& tempFolder);

}  // namespace athup::app
