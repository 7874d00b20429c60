#include "common/big5.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

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

}  // namespace

std::string Utf8ToBig5(std::string_view utf8) {
  Converter converter(kBig5, "UTF-8");
  std::string input(utf8);
  std::string out;
  out.reserve(input.size());
  char* in = input.data();
  size_t inLeft = input.size();
  if (!converter.convert(in, inLeft, out)) {
    size_t length = std::min(utf8SequenceLength(static_cast<unsigned char>(*in)), inLeft);
    throw Error("無法轉換為Big5的字元：\"" + std::string(in, length) + "\"");
  }
  return out;
}

std::string Utf8ToBig5Lossy(std::string_view utf8, char replacement) {
  Converter converter(kBig5, "UTF-8");
  std::string input(utf8);
  std::string out;
  out.reserve(input.size());
  char* in = input.data();
  size_t inLeft = input.size();
  while (!converter.convert(in, inLeft, out)) {
    out += replacement;
    const size_t skip = std::min(utf8SequenceLength(static_cast<unsigned char>(*in)), inLeft);
    in += skip;
    inLeft -= skip;
  }
  return out;
}

std::string Big5ToUtf8(std::string_view big5) {
  Converter converter("UTF-8", kBig5);
  std::string input(big5);
  std::string out;
  out.reserve(input.size() * 3 / 2);
  char* in = input.data();
  size_t inLeft = input.size();
  while (!converter.convert(in, inLeft, out)) {
    out += "\xEF\xBF\xBD";  // U+FFFD for the byte that does not convert
    const bool pair = inLeft >= 2 && IsBig5LeadByte(static_cast<unsigned char>(*in));
    const size_t skip = pair ? 2 : 1;
    in += skip;
    inLeft -= skip;
  }
  return out;
}

std::size_t Big5Width(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length =
        std::min(utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    width += length == 1 ? 1 : 2;
    i += length;
  }
  return width;
}

std::string CutToBig5Width(std::string_view utf8, std::size_t maxBytes) {
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
