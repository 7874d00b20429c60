#include "security/codecs/form_escape.h"

#include <algorithm>

#include "common/big5.h"
#include "common/errors.h"

namespace athup::security {
namespace {

std::size_t utf8Length(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// One non-ASCII character after its trip through code page 950 and back.
std::string throughBig5(std::string_view character) {
  try {
    return common::big5ToUtf8(common::utf8ToBig5(character));
  } catch (const Error&) {
    return "?";  // the code page's default character, as the wide-to-Big5 conversion gives
  }
}

}  // namespace

std::string escapeFormValue(std::string_view value) {
  std::string out;
  out.reserve(value.size() + value.size() / 8);
  for (std::size_t i = 0; i < value.size();) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (byte >= 0x80) {
      // Big5 trail bytes start at 0x40, so no escaped character hides inside a Big5 character.
      const std::size_t length = std::min(utf8Length(byte), value.size() - i);
      out += throughBig5(value.substr(i, length));
      i += length;
      continue;
    }
    switch (byte) {
      case '\r':
        out += "%0D";
        break;
      case '\n':
        out += "%0A";
        break;
      case '+':
        out += "%2B";
        break;
      case '/':
        out += "%2F";
        break;
      case '=':
        out += "%3D";
        break;
      default:
        out.push_back(static_cast<char>(byte));
    }
    ++i;
  }
  return out;
}

}  // namespace athup::security
