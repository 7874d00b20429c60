// Base64 decoding of arbitrary text: the fast path for plain groups must agree with a plain
// character-by-character decoder, the stream form with the text form, and encoding must round-trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "security/codecs/base64.h"

namespace {

std::string referenceDecode(std::string_view text) {
  static const std::string kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string kept;
  for (const char ch : text) {
    if (ch == '=' || kAlphabet.find(ch) != std::string::npos) kept.push_back(ch);
  }
  std::string bytes;
  for (std::size_t i = 0; i < kept.size(); i += 4) {
    std::string group = kept.substr(i, 4);
    if (group.size() < 2) break;  // one stray character describes no byte
    group.resize(4, '=');
    std::uint32_t v = 0;
    for (const char ch : group) {
      v = (v << 6) | (ch == '=' ? 0u : static_cast<std::uint32_t>(kAlphabet.find(ch)));
    }
    std::size_t count = 3;
    if (group[3] == '=') count = group[2] == '=' ? 1 : 2;
    const char out[3] = {static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                         static_cast<char>(v)};
    bytes.append(out, count);
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string decoded = athup::security::base64DecodeText(input);
  if (decoded != referenceDecode(input)) std::abort();

  std::istringstream in{std::string(input)};
  std::ostringstream out;
  athup::security::base64DecodeStream(in, out);
  if (out.str() != decoded) std::abort();

  if (athup::security::base64DecodeText(athup::security::base64EncodeText(input)) != input)
    std::abort();
  if (athup::security::base64DecodeText(athup::security::base64Line(input)) != input) std::abort();
  return 0;
}
