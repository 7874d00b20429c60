#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace athup::filing_server {

// A form body as the client writes it: name=value pairs joined by "&", values inserted as they
// are. So a "+" stays a "+" (a type "1" seal is raw base64), and only %XX escapes are decoded
// (the type "2" seal escapes CR, LF, "+", "/" and "="). Values stay bytes in the client's code
// page (Big5).
class FormBody {
 public:
  [[nodiscard]] static FormBody parse(std::string_view body);

  // The value of the first pair with that name, or nullopt.
  [[nodiscard]] std::optional<std::string> value(std::string_view name) const;
  [[nodiscard]] const std::vector<std::pair<std::string, std::string>>& pairs() const {
    return m_pairs;
  }

 private:
  std::vector<std::pair<std::string, std::string>> m_pairs;
};

}  // namespace athup::filing_server
