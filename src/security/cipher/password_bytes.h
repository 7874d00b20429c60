#pragma once

#include <string>
#include <string_view>

namespace athup::security {

// The Big5 bytes a password is hashed from. A character that Big5 cannot hold raises athup::Error
// "密碼含有無法使用的字元", which never shows the character: the message may reach a log or a
// screen that others can see.
[[nodiscard]] std::string passwordBytes(std::string_view utf8Password);

}  // namespace athup::security
