#pragma once

#include <string>
#include <string_view>

namespace athup::app {

// Turns a rich-text (RTF) document, as the notices are written, into HTML a text viewer shows.
// It keeps what a notice uses: paragraphs and line breaks, bold, italic, underline, font sizes,
// colours of the colour table and paragraph alignment. Text in the document's code page (\'hh
// escapes and raw bytes) is Big5; \uN characters are taken as they are. Pictures, fields and the
// other destinations are skipped. Malformed input never fails: what cannot be read is dropped.
class RtfReader {
 public:
  [[nodiscard]] static std::string toHtml(std::string_view rtf);

  // True when the bytes start like a rich-text document ("{\rtf").
  [[nodiscard]] static bool looksLikeRtf(std::string_view bytes);
};

}  // namespace athup::app
