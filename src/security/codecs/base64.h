#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

// Base64 in the standard alphabet. The encoder breaks lines after 76 characters with CR LF (an
// output of an exact multiple of 76 characters ends with CR LF); the decoder skips every
// character outside the alphabet and "=", wherever it stands.
namespace athup::security {

// Encodes from the input's current position to its end.
void base64EncodeStream(std::istream& in, std::ostream& out);

// Decodes from the input's current position to its end. A trailing group of two or three
// characters gives one or two bytes; a single trailing character gives nothing.
void base64DecodeStream(std::istream& in, std::ostream& out);

[[nodiscard]] std::string base64EncodeText(std::string_view bytes);
[[nodiscard]] std::string base64DecodeText(std::string_view text);

// Decodes text that must be exactly base64, for server replies and seals, where a lenient read
// would let two different texts pass for the same bytes. Line breaks, blanks and tabs between
// characters are skipped; anything else outside the alphabet, a "=" before the end, more than two
// "=", a length that is not whole groups of four, or pad bits that are not zero raises
// athup::Error.
[[nodiscard]] std::string base64DecodeStrict(std::string_view text);

// The encoding as one unbroken line (every CR and LF removed): the form of seals and request
// values.
[[nodiscard]] std::string base64Line(std::string_view bytes);

}  // namespace athup::security
