#pragma once

#include <string>
#include <vector>

namespace athup::demodata {

// A small but complete PDF 1.4 document of text pages (A4, Helvetica), written by hand with an
// exact cross-reference table, so viewers and the upload accept it as a scanned evidence file.
// Nothing time-dependent goes in: the same pages give the same bytes.
class PdfDocument {
 public:
  explicit PdfDocument(std::string title) : m_title(std::move(title)) {}

  // One page: the first line as a heading, the rest as body lines. Texts are printable ASCII.
  void addPage(std::vector<std::string> lines);

  [[nodiscard]] std::string bytes() const;

 private:
  std::string m_title;
  std::vector<std::vector<std::string>> m_pages;
};

}  // namespace athup::demodata
