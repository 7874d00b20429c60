#include "common/xml_escape.h"

namespace athup::common {

void appendXmlEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
}

std::string xmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendXmlEscaped(out, text);
  return out;
}

}  // namespace athup::common
