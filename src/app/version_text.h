#pragma once

#include <string>
#include <string_view>

namespace athup::app {

// The program version as sent with the upload and result requests: the version read as a number,
// divided by 100, with two decimals ("105" -> "1.05"); a version that is not a number counts as 0.
[[nodiscard]] std::string versionNumberText(std::string_view version);

}  // namespace athup::app
