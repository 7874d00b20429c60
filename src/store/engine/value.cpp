#include "store/engine/value.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/errors.h"
#include "common/text_helpers.h"

namespace athup::store {

namespace {

std::string numberText(double number) {
  if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.0f", number);
    return buffer;
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", number);
  return buffer;
}

}  // namespace

std::string Value::asText() const {
  if (const auto* text = std::get_if<std::string>(&m_data)) {
    return *text;
  }
  if (const auto* whole = std::get_if<std::int64_t>(&m_data)) {
    return std::to_string(*whole);
  }
  if (const auto* real = std::get_if<double>(&m_data)) {
    return numberText(*real);
  }
  return {};
}

double Value::asNumber() const {
  if (const auto* whole = std::get_if<std::int64_t>(&m_data)) {
    return static_cast<double>(*whole);
  }
  if (const auto* real = std::get_if<double>(&m_data)) {
    return *real;
  }
  if (const auto* text = std::get_if<std::string>(&m_data)) {
    const std::string trimmed = common::trimBlanks(*text);
    if (trimmed.empty()) {
      return 0.0;
    }
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || errno == ERANGE) {
      throw Error("'" + *text + "' is not a valid floating point value");
    }
    return number;
  }
  return 0.0;
}

}  // namespace athup::store
