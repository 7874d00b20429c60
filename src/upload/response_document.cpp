#include "upload/response_document.h"

#include <pugixml.hpp>

#include "common/big5.h"
#include "common/errors.h"

namespace athup::upload {

struct ResponseDocument::Impl {
  pugi::xml_document document;
  pugi::xml_node root;
};

ResponseDocument::ResponseDocument(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
ResponseDocument::ResponseDocument(ResponseDocument&&) noexcept = default;
ResponseDocument& ResponseDocument::operator=(ResponseDocument&&) noexcept = default;
ResponseDocument::~ResponseDocument() = default;

ResponseDocument ResponseDocument::parse(std::string_view big5Text) {
  const std::string utf8 = common::big5ToUtf8(big5Text);
  auto impl = std::make_unique<Impl>();
  // The declaration may still say Big5; the text is UTF-8 by now, so the encoding is forced.
  const pugi::xml_parse_result result = impl->document.load_buffer(
      utf8.data(), utf8.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!result) {
    throw Error(std::string(result.description()) + " (offset " + std::to_string(result.offset) +
                ")");
  }
  impl->root = impl->document.child("TAX");
  if (!impl->root) throw Error("The root element \"TAX\" is missing.");
  return ResponseDocument(std::move(impl));
}

std::string ResponseDocument::name() const {
  return m_impl->root.attribute("Name").value();
}

std::string ResponseDocument::childText(std::string_view element) const {
  return m_impl->root.child(std::string(element).c_str()).child_value();
}

std::string ResponseDocument::code() const {
  return childText("Code");
}
std::string ResponseDocument::msg() const {
  return childText("Msg");
}
std::string ResponseDocument::date() const {
  return childText("Date");
}

int ResponseDocument::dataCount() const {
  int count = 0;
  for (const auto& data : m_impl->root.child("DataList").children("Data")) {
    (void)data;
    ++count;
  }
  return count;
}

std::optional<std::pair<std::string, std::string>> ResponseDocument::dataAt(int index) const {
  if (index < 0) return std::nullopt;
  int at = 0;
  for (const auto& data : m_impl->root.child("DataList").children("Data")) {
    if (at++ == index)
      return std::make_pair(std::string(data.attribute("Name").value()),
                            std::string(data.child_value()));
  }
  return std::nullopt;
}

std::optional<std::string> ResponseDocument::dataByName(std::string_view name) const {
  for (const auto& data : m_impl->root.child("DataList").children("Data")) {
    if (name == data.attribute("Name").value()) return std::string(data.child_value());
  }
  return std::nullopt;
}

}  // namespace athup::upload
