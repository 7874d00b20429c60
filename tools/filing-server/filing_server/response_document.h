#pragma once

#include <string>
#include <utility>
#include <vector>

namespace athup::filing_server {

// Every answer of the query and upload endpoints: root "TAX" with "Code" ("0" success), "Msg",
// "Date" and "DataList" of named "Data" items. Texts are UTF-8 here; the document goes out in
// Big5, as the client reads every answer.
class ResponseDocument {
 public:
  ResponseDocument(std::string name, std::string code, std::string msg, std::string date);

  void addData(std::string name, std::string value);

  // The document as UTF-8 text, with an XML declaration naming Big5.
  [[nodiscard]] std::string utf8Text() const;
  // The bytes sent: utf8Text() in Big5 (a character Big5 cannot hold becomes "?").
  [[nodiscard]] std::string big5Bytes() const;

 private:
  std::string m_name;
  std::string m_code;
  std::string m_msg;
  std::string m_date;
  std::vector<std::pair<std::string, std::string>> m_data;
};

}  // namespace athup::filing_server
