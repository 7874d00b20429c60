#include "filing_server/response_document.h"

#include "common/big5.h"
#include "common/xml_escape.h"

namespace athup::filing_server {

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
  xml += "<TAX Name=\"" + common::xmlEscaped(m_name) + "\">";
  xml += "<Code>" + common::xmlEscaped(m_code) + "</Code>";
  xml += "<Msg>" + common::xmlEscaped(m_msg) + "</Msg>";
  xml += "<Date>" + common::xmlEscaped(m_date) + "</Date>";
  xml += "<DataList>";
  for (const auto& [name, value] : m_data) {
    xml +=
        "<Data Name=\"" + common::xmlEscaped(name) + "\">" + common::xmlEscaped(value) + "</Data>";
  }
  xml += "</DataList></TAX>\r\n";
  return xml;
}

std::string ResponseDocument::big5Bytes() const {
  return common::utf8ToBig5Lossy(utf8Text());
}

}  // namespace athup::filing_server
