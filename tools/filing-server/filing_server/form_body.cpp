#include "filing_server/form_body.h"

namespace athup::filing_server {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Decodes %XX; a "%" not followed by two hexadecimal digits is kept as it is.
std::string percentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = hexValue(text[i + 1]);
      const int low = hexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace

FormBody FormBody::parse(std::string_view body) {
  FormBody form;
  std::size_t start = 0;
  while (start <= body.size()) {
    std::size_t end = body.find('&', start);
    if (end == std::string_view::npos) end = body.size();
    const std::string_view pair = body.substr(start, end - start);
    if (!pair.empty()) {
      const std::size_t eq = pair.find('=');
      if (eq == std::string_view::npos) {
        form.m_pairs.emplace_back(std::string(pair), std::string());
      } else {
        form.m_pairs.emplace_back(std::string(pair.substr(0, eq)),
                                  percentDecoded(pair.substr(eq + 1)));
      }
    }
    start = end + 1;
  }
  return form;
}

std::optional<std::string> FormBody::value(std::string_view name) const {
  for (const auto& [key, val] : m_pairs) {
    if (key == name) return val;
  }
  return std::nullopt;
}

}  // namespace athup::filing_server
