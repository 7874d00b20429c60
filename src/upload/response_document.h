#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace athup::upload {

// The filing server's answer: root "TAX" with "Code", "Msg", "Date" and "DataList" of "Data"
// items (attribute "Name", text value); other children are tolerated. Names are case-sensitive.
// Texts come back as UTF-8.
class ResponseDocument {
 public:
  // Parses an answer as it arrived (Big5 bytes, converted to UTF-8 first). Raises athup::Error
  // with the parser's message when it is not a document with the root "TAX".
  [[nodiscard]] static ResponseDocument parse(std::string_view big5Text);

  ResponseDocument(ResponseDocument&&) noexcept;
  ResponseDocument& operator=(ResponseDocument&&) noexcept;
  ~ResponseDocument();

  [[nodiscard]] std::string name() const;  // the root's attribute "Name"
  [[nodiscard]] std::string code() const;
  [[nodiscard]] std::string msg() const;
  [[nodiscard]] std::string date() const;
  [[nodiscard]] std::string childText(std::string_view element) const;

  [[nodiscard]] int dataCount() const;
  // The n-th "Data" item (from 0) as name and value; nullopt past the end.
  [[nodiscard]] std::optional<std::pair<std::string, std::string>> dataAt(int index) const;
  // The value of the first "Data" item whose "Name" equals `name` exactly.
  [[nodiscard]] std::optional<std::string> dataByName(std::string_view name) const;

 private:
  struct Impl;
  explicit ResponseDocument(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> m_impl;
};

}  // namespace athup::upload
