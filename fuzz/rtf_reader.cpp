// The notice reader on arbitrary documents: it never fails, and what it gives is a whole HTML
// page whose only markup is its own (every '<' of the document's text arrives escaped), with each
// paragraph and style span closed.
#include "app/notice/rtf_reader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"

namespace {

std::size_t count(std::string_view text, std::string_view what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Every '<' opens one of the tags the reader writes.
bool onlyOwnTags(std::string_view html) {
  static constexpr std::string_view kTags[] = {"<html>", "</html>", "<body>", "</body>", "<p ",
                                               "</p>",   "<br/>",   "<span ", "</span>"};
  for (auto at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1)) {
    bool known = false;
    for (std::string_view tag : kTags) known = known || html.substr(at).starts_with(tag);
    if (!known) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view rtf(reinterpret_cast<const char*>(data), size);
  (void)athup::app::RtfReader::looksLikeRtf(rtf);
  const std::string html = athup::app::RtfReader::toHtml(rtf);
  FUZZ_CHECK(html.starts_with("<html><body>") && html.ends_with("</body></html>"));
  FUZZ_CHECK(onlyOwnTags(html));
  FUZZ_CHECK(count(html, "<p ") == count(html, "</p>"));
  FUZZ_CHECK(count(html, "<span ") == count(html, "</span>"));
  FUZZ_CHECK(html == athup::app::RtfReader::toHtml(rtf));
  return 0;
}
