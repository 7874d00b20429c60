#pragma once

#include <string_view>

namespace athup::security {

inline constexpr std::string_view kAccountPasswordMessage =
    "密碼應為長度4~10位之英數字，請重新輸入！";
inline constexpr int kAccountPasswordMinLength = 4;
inline constexpr int kAccountPasswordMaxLength = 10;

// 4 to 10 characters, ASCII letters and digits only, as the message tells the user. Anything else
// ("&", "=", "+" above all) would arrive changed in the form body, which carries it unescaped.
[[nodiscard]] bool isValidAccountPassword(std::string_view password);

}  // namespace athup::security
