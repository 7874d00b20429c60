#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace athup::app {

// A period the period window accepts: YYYMM (ROC year, month 01-12). Only fromField makes one, so
// whatever holds a PeriodField holds a checked value.
class PeriodField {
 public:
  // The period of the field's text ("113/10" or "11310"; the "/" of the mask is dropped), or the
  // error text the period window shows for it.
  [[nodiscard]] static std::variant<PeriodField, std::string> fromField(std::string_view typed);

  // The period as gDataYM holds it, YYYMM.
  [[nodiscard]] const std::string& dataYM() const { return m_dataYM; }

 private:
  explicit PeriodField(std::string dataYM) : m_dataYM(std::move(dataYM)) {}

  std::string m_dataYM;
};

}  // namespace athup::app
