#pragma once

#include <optional>
#include <string>
#include <string_view>

// The signature of the test smart card, certificate type "2". The simulator accepts it and the
// client's test card implementation produces it; no real card stack is involved.
//
//   signed content = text bytes || HMAC-SHA256(key = kTestCardKey, message = text bytes)
//   signature      = base64 of the signed content in the standard alphabet, broken into lines
//                    of 76 characters with CR LF (the form base64EncodeText writes)
//
// The text is the seal text exactly as the client builds it (UTF-8; ASCII in practice). Like a
// real signed-data blob the signature carries its content, so the server reads the seal text
// back out of it. The test card accepts the PIN kTestCardPin; the signature does not depend on it.
namespace athup::filing_server {

inline constexpr std::string_view kTestCardKey = "athup test card";
inline constexpr std::string_view kTestCardPin = "123456";

[[nodiscard]] std::string testCardSign(std::string_view text);

// The signed text when the signature is well-formed and its HMAC matches; nullopt otherwise.
// Characters outside the base64 alphabet (the line breaks) are skipped.
[[nodiscard]] std::optional<std::string> testCardSignedText(std::string_view signature);

}  // namespace athup::filing_server
