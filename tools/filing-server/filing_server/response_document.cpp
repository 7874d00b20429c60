#include "filing_server/response_document.h"

#include "common/big5.h"

namespace athup::filing_server {
namespace {

std::string escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

ResponseDocument::ResponseDocument(std::string name, std::string code, std::string msg,
                                   std::string date)
    : m_name(std::move(name)),
      m_code(std::move(code)),
      m_msg(std::move(msg)),
      m_date(std::move(date)) {}

void ResponseDocument::addData(std::string name, std::string value) {
  m_data.emplace_back(std::move(name), std::move(value));
}

std::string ResponseDocument::utf8Text() const {
  std::string xml = "<?xml version=\"1.0\" encoding=\"Big5\"?>\r\n";
  xml += "<TAX Name=\"" + escaped(m_name) + "\">";
  xml += "<Code>" + escaped(m_code) + "</Code>";
  xml += "<Msg>" + escaped(m_msg) + "</Msg>";
  xml += "<Date>" + escaped(m_date) + "</Date>";
  xml += "<DataList>";
  for (const auto& [name, value] : m_data) {
    xml += "<Data Name=\"" + escaped(name) + "\">" + escaped(value) + "</Data>";
  }
  xml += "</DataList></TAX>\r\n";
  return xml;
}

std::string ResponseDocument::big5Bytes() const {
  return common::utf8ToBig5Lossy(utf8Text());
}

}  // namespace athup::filing_server
