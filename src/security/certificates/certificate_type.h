#pragma once

#include <array>
#include <string>
#include <string_view>

namespace athup::security {

// The certificate types a request can carry in "certtp".
inline constexpr std::string_view kCertTypeAccount = "1";  // account and password
inline constexpr std::string_view kCertTypeCard = "2";     // business certificate on a smart card

// The choices of the certificate-type dialog in order; the citizen certificate is never offered.
inline constexpr std::array<std::string_view, 2> kCertTypeChoices = {"帳號密碼", "工商憑證"};

// The code for a choice of the dialog (0-based index): "1" or "2"; "1" for anything else.
[[nodiscard]] std::string certTypeForChoice(int index);

}  // namespace athup::security
