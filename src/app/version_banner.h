#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace athup::app {

// What a program prints for --version: its name with the version and the version date read from
// the version record ("athup-cli Version 1.05" and "版本日期：108年03月15日"). A record that is
// missing or does not decrypt gives the build's version instead, says why, and the date is
// unknown. Two lines, each ending with a line break.
[[nodiscard]] std::string versionBanner(std::string_view program,
                                        const std::filesystem::path& record,
                                        const std::filesystem::path& tempFolder,
                                        std::string_view buildVersion);

// The banner for the running program: the record among its delivery files.
[[nodiscard]] std::string versionBannerOfThisProgram(std::string_view program,
                                                     std::string_view buildVersion);

}  // namespace athup::app
