#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace athup::store {

// One field or parameter value: nothing (NULL), a whole number, a floating-point number or text
// (UTF-8). Paradox number columns hold floating-point values; whole numbers come back from counts.
class Value {
 public:
  Value() = default;
  Value(std::string text) : m_data(std::move(text)) {}  // NOLINT(google-explicit-constructor)
  Value(std::string_view text) : m_data(std::string(text)) {}
  Value(const char* text) : m_data(std::string(text)) {}
  Value(int number) : m_data(std::int64_t{number}) {}
  Value(long number) : m_data(std::int64_t{number}) {}
  Value(long long number) : m_data(static_cast<std::int64_t>(number)) {}
  Value(unsigned number) : m_data(std::int64_t{number}) {}
  Value(double number) : m_data(number) {}

  [[nodiscard]] bool isNull() const { return std::holds_alternative<std::monostate>(m_data); }
  [[nodiscard]] bool isText() const { return std::holds_alternative<std::string>(m_data); }
  [[nodiscard]] bool isInteger() const { return std::holds_alternative<std::int64_t>(m_data); }
  [[nodiscard]] bool isReal() const { return std::holds_alternative<double>(m_data); }

  // NULL reads as the empty text; numbers as their shortest decimal form ("1234", "12.5").
  [[nodiscard]] std::string asText() const;

  // NULL and blank text read as 0; text that is not a number raises athup::Error.
  [[nodiscard]] double asNumber() const;

  [[nodiscard]] const std::variant<std::monostate, std::int64_t, double, std::string>& data()
      const {
    return m_data;
  }

  friend bool operator==(const Value&, const Value&) = default;

 private:
  std::variant<std::monostate, std::int64_t, double, std::string> m_data;
};

// A named parameter of a statement; the name may be written with or without its colon (":BAN").
struct Param {
  std::string name;
  Value value;
};

using Params = std::vector<Param>;

}  // namespace athup::store
