#include "app/version_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/text_helpers.h"

namespace athup::app {

std::string versionNumberText(std::string_view version) {
  const std::string trimmed = common::trimBlanks(version);
  double number = 0.0;
  if (!trimmed.empty()) {
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(trimmed.c_str(), &end);
    if (end == trimmed.c_str() + trimmed.size() && errno == 0 && std::isfinite(parsed)) {
      number = parsed;
    }
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", number / 100.0);
  return buffer;
}

}  // namespace athup::app
