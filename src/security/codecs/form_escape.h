#pragma once

#include <string>
#include <string_view>

namespace athup::security {

// Escapes the five characters that would break a line-broken base64 seal placed as one value of
// a name=value&... form body: CR "%0D", LF "%0A", "+" "%2B", "/" "%2F", "=" "%3D". Nothing else is
// escaped, not even "&", "%" or blanks. UTF-8 in and out; the value passes through code page 950
// on the way, so a character Big5 cannot hold comes back as "?".
[[nodiscard]] std::string escapeFormValue(std::string_view value);

}  // namespace athup::security
