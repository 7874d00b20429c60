#include "common/big5.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>

#include "common/ascii.h"
#include "common/errors.h"

namespace athup::common {
namespace {

constexpr const char* kBig5 = "CP950";

// One open conversion descriptor, closed on scope exit.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) {
      throw Error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(m_cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible; returns false at an unconvertible or invalid sequence, leaving
  // in/inLeft at it.
  bool convert(char*& in, size_t& inLeft, std::string& out) {
    char buffer[4096];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      size_t rc = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t m_cd;
};

size_t utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// User-defined characters (rare name characters made with the system's character editor) live in
// three Big5 areas that code page 950 on Windows maps row by row onto the private use area; iconv
// knows only the fourth area (C6A1-C8FE). Without these rows such a character in a company name
// or asset name would not survive the trip from a filing file into the program and back.
struct EudcArea {
  unsigned char firstLead;
  unsigned char lastLead;
  char32_t firstCodePoint;
};
constexpr EudcArea kEudcAreas[] = {
    {0xFA, 0xFE, 0xE000},
    {0x8E, 0xA0, 0xE311},
    {0x81, 0x8D, 0xEEB8},
};
constexpr char32_t kCellsPerRow = 157;  // trail bytes 40-7E, then A1-FE

// The private-use code point of a user-defined Big5 pair, or 0 when the pair is not one.
char32_t eudcToCodePoint(unsigned char lead, unsigned char trail) {
  char32_t cell;
  if (trail >= 0x40 && trail <= 0x7E) {
    cell = trail - 0x40u;
  } else if (trail >= 0xA1 && trail <= 0xFE) {
    cell = trail - 0xA1u + 63u;
  } else {
    return 0;
  }
  for (const EudcArea& area : kEudcAreas) {
    if (lead >= area.firstLead && lead <= area.lastLead) {
      return area.firstCodePoint + (lead - area.firstLead) * kCellsPerRow + cell;
    }
  }
  return 0;
}

// The Big5 pair of a private-use code point in those areas; empty when it is not one of them.
std::string codePointToEudc(char32_t codePoint) {
  for (const EudcArea& area : kEudcAreas) {
    const char32_t rows = area.lastLead - area.firstLead + 1u;
    if (codePoint < area.firstCodePoint || codePoint >= area.firstCodePoint + rows * kCellsPerRow) {
      continue;
    }
    const char32_t offset = codePoint - area.firstCodePoint;
    const char32_t cell = offset % kCellsPerRow;
    const auto lead = static_cast<char>(area.firstLead + offset / kCellsPerRow);
    const auto trail = static_cast<char>(cell < 63 ? 0x40 + cell : 0xA1 + (cell - 63));
    return {lead, trail};
  }
  return {};
}

// The code point of a complete three-byte UTF-8 sequence (the private use area is all there),
// or 0.
char32_t threeByteCodePoint(const char* in, size_t inLeft) {
  if (inLeft < 3) return 0;
  const auto b0 = static_cast<unsigned char>(in[0]);
  const auto b1 = static_cast<unsigned char>(in[1]);
  const auto b2 = static_cast<unsigned char>(in[2]);
  if ((b0 & 0xF0) != 0xE0 || (b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return 0;
  return (char32_t{b0 & 0x0Fu} << 12) | (char32_t{b1 & 0x3Fu} << 6) | char32_t{b2 & 0x3Fu};
}

void appendUtf8(char32_t codePoint, std::string& out) {  // BMP only, as the EUDC areas are
  out += static_cast<char>(0xE0 | (codePoint >> 12));
  out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (codePoint & 0x3F));
}

// At a sequence iconv refused: writes its user-defined Big5 pair and steps over it, or returns
// false when it is not such a character.
bool convertEudcToBig5(char*& in, size_t& inLeft, std::string& out) {
  const std::string pair = codePointToEudc(threeByteCodePoint(in, inLeft));
  if (pair.empty()) return false;
  out += pair;
  in += 3;
  inLeft -= 3;
  return true;
}

}  // namespace

namespace {

// The one UTF-8 to Big5 loop: a character Big5 cannot hold becomes the replacement, or raises
// athup::Error naming it when there is none.
std::string toBig5(std::string_view utf8, std::optional<char> replacement) {
  Converter converter(kBig5, "UTF-8");
  std::string input(utf8);
  std::string out;
  out.reserve(input.size());
  char* in = input.data();
  size_t inLeft = input.size();
  while (!converter.convert(in, inLeft, out)) {
    if (convertEudcToBig5(in, inLeft, out)) continue;
    const size_t length = std::min(utf8SequenceLength(static_cast<unsigned char>(*in)), inLeft);
    if (!replacement) throw Error("無法轉換為Big5的字元：\"" + std::string(in, length) + "\"");
    out += *replacement;
    in += length;
    inLeft -= length;
  }
  return out;
}

}  // namespace

std::string utf8ToBig5(std::string_view utf8) {
  return toBig5(utf8, std::nullopt);
}

std::string utf8ToBig5Lossy(std::string_view utf8, char replacement) {
  return toBig5(utf8, replacement);
}

namespace {

std::string fromBig5(Converter& converter, std::string_view big5) {
  std::string input(big5);
  std::string out;
  out.reserve(input.size() * 3 / 2);
  char* in = input.data();
  size_t inLeft = input.size();
  while (!converter.convert(in, inLeft, out)) {
    const char32_t eudc = inLeft >= 2 ? eudcToCodePoint(static_cast<unsigned char>(in[0]),
                                                        static_cast<unsigned char>(in[1]))
                                      : 0;
    if (eudc != 0) {
      appendUtf8(eudc, out);
      in += 2;
      inLeft -= 2;
      continue;
    }
    out += "\xEF\xBF\xBD";  // U+FFFD for the byte that does not convert
    const bool pair = inLeft >= 2 && isBig5LeadByte(static_cast<unsigned char>(*in));
    const size_t skip = pair ? 2 : 1;
    in += skip;
    inLeft -= skip;
  }
  return out;
}

}  // namespace

namespace {

// Big5 keeps the ASCII bytes as they are, so a text of them needs no converter: most fields of a
// filing file are digits and letters.
}  // namespace

std::string big5ToUtf8(std::string_view big5) {
  if (isAsciiOnly(big5)) return std::string(big5);
  Converter converter("UTF-8", kBig5);
  return fromBig5(converter, big5);
}

void big5ToUtf8Each(std::span<std::string> texts) {
  std::optional<Converter> converter;
  for (std::string& text : texts) {
    if (isAsciiOnly(text)) continue;
    if (!converter) converter.emplace("UTF-8", kBig5);
    text = fromBig5(*converter, text);
  }
}

std::size_t big5Width(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length =
        std::min(utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    width += length == 1 ? 1 : 2;
    i += length;
  }
  return width;
}

std::string cutToBig5Width(std::string_view utf8, std::size_t maxBytes) {
  std::size_t width = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t length =
        std::min(utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    const std::size_t charWidth = length == 1 ? 1 : 2;
    if (width + charWidth > maxBytes) break;
    width += charWidth;
    i += length;
  }
  return std::string(utf8.substr(0, i));
}

}  // namespace athup::common
