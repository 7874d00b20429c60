#include "app/period_field.h"

#include "app/period_input.h"

namespace athup::app {

std::variant<PeriodField, std::string> PeriodField::fromField(std::string_view typed) {
  std::string value = periodFieldValue(typed);
  if (auto error = checkPeriodInput(value)) return std::move(*error);
  return PeriodField(std::move(value));
}

}  // namespace athup::app
