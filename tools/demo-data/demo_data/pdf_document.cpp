#include "demo_data/pdf_document.h"

#include <cstdio>
#include <string>
#include <utility>

#include "common/errors.h"

namespace athup::demodata {
namespace {

// A PDF literal string: ASCII only, with the three special characters escaped.
std::string literal(const std::string& text) {
  std::string out = "(";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E) throw Error("a demo PDF text must be printable ASCII");
    if (c == '(' || c == ')' || c == '\\') out += '\\';
    out += c;
  }
  return out + ")";
}

std::string pageContent(const std::vector<std::string>& lines) {
  std::string content = "BT\n/F1 18 Tf\n72 770 Td\n";
  if (!lines.empty()) content += literal(lines.front()) + " Tj\n";
  content += "/F1 12 Tf\n18 TL\n0 -12 Td\n";
  for (std::size_t i = 1; i < lines.size(); ++i) content += "T* " + literal(lines[i]) + " Tj\n";
  content += "ET\n";
  return content;
}

std::string offsetEntry(std::size_t offset) {
  char entry[21];
  std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
  return entry;
}

}  // namespace

void PdfDocument::addPage(std::vector<std::string> lines) {
  m_pages.push_back(std::move(lines));
}

std::string PdfDocument::bytes() const {
  // objects: 1 catalog, 2 page tree, 3 font, 4 info, then a page and its content per page
  std::vector<std::string> objects;
  std::string kids;
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    kids += (i ? " " : "") + std::to_string(5 + 2 * i) + " 0 R";
  }
  objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
  objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " +
                    std::to_string(m_pages.size()) + " >>");
  objects.push_back(
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
  objects.push_back("<< /Title " + literal(m_title) + " /Producer (athup demo data) >>");
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    const std::size_t contentNumber = 6 + 2 * i;
    objects.push_back(
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R "
        ">> >> /Contents " +
        std::to_string(contentNumber) + " 0 R >>");
    const std::string content = pageContent(m_pages[i]);
    objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                      "\nendstream");  // the line end before endstream is not stream data
  }

  // the comment of high bytes marks the file as binary for transfer programs
  std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(out.size());
    out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const std::size_t xref = out.size();
  out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t offset : offsets) out += offsetEntry(offset);
  out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
         " /Root 1 0 R /Info 4 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return out;
}

}  // namespace athup::demodata
