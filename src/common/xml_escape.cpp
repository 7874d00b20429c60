#include "common/xml_escape.h"

namespace athup::common {

void appendXmlEscaped(std::string& out, std::string_view text, XmlApostrophe apostrophe) {
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
      case '\'':
        out += apostrophe == XmlApostrophe::Escaped ? "&apos;" : "'";
        break;
      default:
        out += c;
    }
  }
}

std::string xmlEscaped(std::string_view text, XmlApostrophe apostrophe) {
  std::string out;
  out.reserve(text.size());
  appendXmlEscaped(out, text, apostrophe);
  return out;
}

}  // namespace athup::common
