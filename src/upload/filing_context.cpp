#include "upload/filing_context.h"

#include <charconv>
#include <cstdio>

#include "common/text_helpers.h"

namespace athup::upload {

std::string versionForServer(std::string_view version) {
  const std::string trimmed = common::trimBlanks(version);
  long value = 0;
  const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  if (error != std::errc() || end != trimmed.data() + trimmed.size()) value = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value) / 100.0);
  return text;
}

}  // namespace athup::upload
