#include "pdf_check.h"

#include <cstddef>
#include <sstream>
#include <string>

namespace athup::demodata::testing {

std::string pdfProblems(const std::string& pdf) {
  if (pdf.rfind("%PDF-1.4\n", 0) != 0) return "no PDF header";
  if (pdf.size() < 6 || pdf.substr(pdf.size() - 6) != "%%EOF\n") return "no %%EOF at the end";
  const std::size_t startxrefAt = pdf.rfind("startxref\n");
  if (startxrefAt == std::string::npos) return "no startxref";
  const std::size_t xref = std::stoul(pdf.substr(startxrefAt + 10));
  if (pdf.compare(xref, 5, "xref\n") != 0) return "startxref does not point at the xref table";

  std::istringstream table(pdf.substr(xref + 5));
  std::size_t first = 0;
  std::size_t count = 0;
  table >> first >> count;
  table.ignore(1);
  if (first != 0 || count < 2) return "odd xref subsection";
  const std::size_t entriesAt = xref + 5 + pdf.substr(xref + 5).find('\n') + 1;
  for (std::size_t n = 0; n < count; ++n) {
    const std::string entry = pdf.substr(entriesAt + 20 * n, 20);
    if (entry.size() != 20 || entry[19] != '\n')
      return "xref entry " + std::to_string(n) + " is not 20 bytes";
    if (n == 0) {
      if (entry != "0000000000 65535 f \n") return "bad free entry";
      continue;
    }
    const std::size_t offset = std::stoul(entry.substr(0, 10));
    const std::string header = std::to_string(n) + " 0 obj\n";
    if (pdf.compare(offset, header.size(), header) != 0) {
      return "xref entry " + std::to_string(n) + " does not point at its object";
    }
  }
  if (pdf.find("/Size " + std::to_string(count) + " ") == std::string::npos) {
    return "trailer /Size differs from the xref count";
  }

  for (std::size_t at = pdf.find("/Length "); at != std::string::npos;
       at = pdf.find("/Length ", at + 1)) {
    const std::size_t length = std::stoul(pdf.substr(at + 8));
    const std::size_t data = pdf.find("stream\n", at) + 7;
    if (pdf.compare(data + length, 10, "\nendstream") != 0) return "a stream /Length is wrong";
  }
  return {};
}

}  // namespace athup::demodata::testing
