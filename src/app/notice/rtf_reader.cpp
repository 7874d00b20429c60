#include "app/notice/rtf_reader.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/big5.h"
#include "common/xml_escape.h"

namespace athup::app {
namespace {

enum class Align { Left, Center, Right, Justify };

struct CharState {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int halfPoints = 24;
  int colour = 0;
  int unicodeSkip = 1;
  bool skip = false;  // inside a destination that is not shown
  bool colourTable = false;
  Align align = Align::Left;
};

struct Rgb {
  int red = 0, green = 0, blue = 0;
  bool set = false;
};

void appendCodePoint(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

class Converter {
 public:
  explicit Converter(std::string_view rtf) : m_in(rtf) {}

  std::string run() {
    while (m_pos < m_in.size()) {
      const char c = m_in[m_pos++];
      if (c == '{') {
        flushBytes();
        m_stack.push_back(m_state);
        continue;
      }
      if (c == '}') {
        flushBytes();
        if (m_state.colourTable) finishColourTable();
        if (!m_stack.empty()) {
          m_state = m_stack.back();
          m_stack.pop_back();
        }
        continue;
      }
      if (c == '\\') {
        controlSequence();
        continue;
      }
      if (c == '\r' || c == '\n') continue;
      if (m_state.colourTable) {
        if (c == ';') {
          m_colours.push_back(m_pending);
          m_pending = Rgb{};
        }
        continue;
      }
      if (m_skipChars > 0) {
        --m_skipChars;
        continue;
      }
      if (m_state.skip) continue;
      if (static_cast<unsigned char>(c) >= 0x80 || awaitingTrailByte()) {
        m_bytes += c;
      } else {
        flushBytes();
        emitText(std::string(1, c));
      }
    }
    flushBytes();
    closeParagraph(false);
    return "<html><body>" + m_html + "</body></html>";
  }

 private:
  void controlSequence() {
    if (m_pos >= m_in.size()) return;
    const char c = m_in[m_pos];
    if (!isLetter(c)) {
      ++m_pos;
      symbol(c);
      return;
    }
    std::string word;
    while (m_pos < m_in.size() && isLetter(m_in[m_pos]) && word.size() < 32) word += m_in[m_pos++];
    bool hasParam = false;
    bool negative = false;
    long param = 0;
    if (m_pos < m_in.size() && m_in[m_pos] == '-') {
      negative = true;
      ++m_pos;
    }
    while (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
      hasParam = true;
      if (param < 1000000) param = param * 10 + (m_in[m_pos] - '0');
      ++m_pos;
    }
    if (negative) param = -param;
    if (m_pos < m_in.size() && m_in[m_pos] == ' ')
      ++m_pos;  // the delimiting blank belongs to the word
    controlWord(word, hasParam, static_cast<int>(param));
  }

  void symbol(char c) {
    if (c == '\'') {
      if (m_pos + 1 < m_in.size()) {
        const int high = hexValue(m_in[m_pos]);
        const int low = hexValue(m_in[m_pos + 1]);
        m_pos += 2;
        if (high < 0 || low < 0) return;
        if (m_skipChars > 0) {
          --m_skipChars;
          return;
        }
        if (!m_state.skip && !m_state.colourTable) m_bytes += static_cast<char>(high * 16 + low);
      } else {
        m_pos = m_in.size();
      }
      return;
    }
    if (c == '*') {
      m_state.skip = true;
      return;
    }
    if ((c == '\\' || c == '{' || c == '}') && awaitingTrailByte()) {
      m_bytes += c;  // the second byte of a Big5 character that happens to be RTF syntax
      return;
    }
    flushBytes();
    if (m_state.skip) return;
    switch (c) {
      case '\\':
        emitText("\\");
        break;
      case '{':
        emitText("{");
        break;
      case '}':
        emitText("}");
        break;
      case '~':
        emitText("\xC2\xA0");
        break;
      case '_':
        emitText("-");
        break;
      case '\r':
      case '\n':
        closeParagraph(true);
        break;
      default:
        break;  // \- (optional hyphen) and unknown symbols show nothing
    }
  }

  void controlWord(const std::string& word, bool hasParam, int param) {
    static constexpr std::array<std::string_view, 14> kSkipped = {
        "fonttbl",  "stylesheet", "info",
        "pict",     "header",     "footer",
        "object",   "listtable",  "listoverridetable",
        "rsidtbl",  "generator",  "themedata",
        "xmlnstbl", "filetbl"};
    if (m_state.colourTable) {
      if (word == "red") m_pending.red = param, m_pending.set = true;
      if (word == "green") m_pending.green = param, m_pending.set = true;
      if (word == "blue") m_pending.blue = param, m_pending.set = true;
      return;
    }
    if (word == "colortbl") {
      m_state.colourTable = true;
      m_state.skip = true;
      m_colours.clear();
      return;
    }
    for (std::string_view skipped : kSkipped) {
      if (word == skipped) {
        m_state.skip = true;
        return;
      }
    }
    if (word == "u" && hasParam) {
      flushBytes();
      if (!m_state.skip) emitUnicode(param);
      m_skipChars = m_state.unicodeSkip;
      return;
    }
    if (word == "uc") {
      m_state.unicodeSkip = hasParam && param >= 0 ? param : 1;
      return;
    }
    flushBytes();
    const bool on = !hasParam || param != 0;
    if (word == "par") {
      if (!m_state.skip) closeParagraph(true);
    } else if (word == "line") {
      if (!m_state.skip) emitRaw("<br/>");
    } else if (word == "tab") {
      if (!m_state.skip) emitText("    ");
    } else if (word == "b") {
      m_state.bold = on;
    } else if (word == "i") {
      m_state.italic = on;
    } else if (word == "ul") {
      m_state.underline = on;
    } else if (word == "ulnone") {
      m_state.underline = false;
    } else if (word == "fs" && hasParam && param > 0 && param < 4000) {
      m_state.halfPoints = param;
    } else if (word == "cf" && hasParam) {
      m_state.colour = param;
    } else if (word == "plain") {
      const CharState keep = m_state;
      m_state = CharState{};
      m_state.skip = keep.skip;
      m_state.unicodeSkip = keep.unicodeSkip;
      m_state.align = keep.align;
    } else if (word == "pard") {
      m_state.align = Align::Left;
    } else if (word == "qc") {
      m_state.align = Align::Center;
    } else if (word == "qr") {
      m_state.align = Align::Right;
    } else if (word == "qj") {
      m_state.align = Align::Justify;
    } else if (word == "ql") {
      m_state.align = Align::Left;
    }
    // Other words (fonts, code page, spacing, ...) change nothing a notice needs.
  }

  // \uN is a signed 16-bit UTF-16 unit; characters beyond the first plane come as two of them.
  void emitUnicode(int unit) {
    if (unit < -32768 || unit > 65535) unit = 0xFFFD;
    auto code = static_cast<std::uint32_t>(unit < 0 ? unit + 65536 : unit);
    if (code >= 0xD800 && code <= 0xDBFF) {
      m_highSurrogate = code;
      return;
    }
    if (code >= 0xDC00 && code <= 0xDFFF) {
      code =
          m_highSurrogate ? 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (code - 0xDC00) : 0xFFFD;
    }
    m_highSurrogate = 0;
    std::string text;
    appendCodePoint(text, code);
    emitText(text);
  }

  // True when the pending code-page bytes end with the first byte of a double-byte character.
  bool awaitingTrailByte() const {
    std::size_t i = 0;
    while (i < m_bytes.size()) {
      i += common::isBig5LeadByte(static_cast<unsigned char>(m_bytes[i])) ? 2 : 1;
    }
    return i > m_bytes.size();
  }

  void finishColourTable() {
    if (m_pending.set) m_colours.push_back(m_pending);
    m_pending = Rgb{};
  }

  void flushBytes() {
    if (m_bytes.empty()) return;
    const std::string bytes = std::move(m_bytes);
    m_bytes.clear();
    emitText(common::big5ToUtf8(bytes));
  }

  std::string styleOf(const CharState& s) const {
    std::string style;
    if (s.bold) style += "font-weight:bold;";
    if (s.italic) style += "font-style:italic;";
    if (s.underline) style += "text-decoration:underline;";
    char size[32];
    std::snprintf(size, sizeof size, "font-size:%dpt;", s.halfPoints / 2);
    style += size;
    if (s.colour > 0 && static_cast<std::size_t>(s.colour) < m_colours.size() &&
        m_colours[static_cast<std::size_t>(s.colour)].set) {
      const Rgb& rgb = m_colours[static_cast<std::size_t>(s.colour)];
      char colour[40];
      std::snprintf(colour, sizeof colour, "color:#%02x%02x%02x;", rgb.red & 0xFF, rgb.green & 0xFF,
                    rgb.blue & 0xFF);
      style += colour;
    }
    return style;
  }

  void openParagraph() {
    if (m_inParagraph) return;
    static constexpr std::array<std::string_view, 4> kAlign = {"left", "center", "right",
                                                               "justify"};
    m_html += "<p style=\"margin:0;\" align=\"";
    m_html += kAlign[static_cast<std::size_t>(m_state.align)];
    m_html += "\">";
    m_inParagraph = true;
  }

  void closeSpan() {
    if (!m_spanStyle.empty()) m_html += "</span>";
    m_spanStyle.clear();
  }

  void closeParagraph(bool explicitBreak) {
    if (!m_inParagraph && explicitBreak) openParagraph();  // an empty paragraph keeps its line
    if (!m_inParagraph) return;
    closeSpan();
    m_html += explicitBreak && m_paragraphEmpty ? "<br/></p>" : "</p>";
    m_inParagraph = false;
    m_paragraphEmpty = true;
  }

  void emitRaw(std::string_view html) {
    openParagraph();
    m_html += html;
    m_paragraphEmpty = false;
  }

  void emitText(const std::string& utf8) {
    if (m_state.skip || utf8.empty()) return;
    openParagraph();
    const std::string style = styleOf(m_state);
    if (style != m_spanStyle) {
      closeSpan();
      m_html += "<span style=\"" + style + "\">";
      m_spanStyle = style;
    }
    common::appendXmlEscaped(m_html, utf8);
    m_paragraphEmpty = false;
  }

  std::string_view m_in;
  std::size_t m_pos = 0;
  CharState m_state;
  std::vector<CharState> m_stack;
  std::vector<Rgb> m_colours;
  Rgb m_pending;
  std::string m_bytes;  // code-page bytes waiting to be decoded together
  int m_skipChars = 0;  // fallback characters after \uN
  std::uint32_t m_highSurrogate = 0;
  std::string m_html;
  std::string m_spanStyle;
  bool m_inParagraph = false;
  bool m_paragraphEmpty = true;
};

}  // namespace

std::string RtfReader::toHtml(std::string_view rtf) {
  return Converter(rtf).run();
}

bool RtfReader::looksLikeRtf(std::string_view bytes) {
  return bytes.substr(0, 5) == "{\\rtf";
}

}  // namespace athup::app
