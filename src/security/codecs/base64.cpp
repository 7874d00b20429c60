#include "security/codecs/base64.h"

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>

#include "common/errors.h"

namespace athup::security {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kLineLength = 76;
constexpr std::uint8_t kSkip = 0xFF;
constexpr std::uint8_t kPad = 0xFE;

// Input blocks: whole lines (57 bytes each) so the line counter only ever resets at block ends.
constexpr std::size_t kEncodeBlock = 57 * 1024;
constexpr std::size_t kDecodeBlock = 64 * 1024;

constexpr std::array<std::uint8_t, 256> makeDecodeTable() {
  std::array<std::uint8_t, 256> table{};
  for (auto& entry : table) entry = kSkip;
  for (std::uint8_t i = 0; i < 64; ++i) table[static_cast<std::uint8_t>(kAlphabet[i])] = i;
  table['='] = kPad;
  return table;
}

constexpr std::array<std::uint8_t, 256> kDecode = makeDecodeTable();

// Encodes whole input, keeping the line counter across calls so block edges never show.
class Encoder {
 public:
  explicit Encoder(bool breakLines = true) : m_breakLines(breakLines) {}

  void encode(const std::uint8_t* data, std::size_t size, std::string& out) {
    out.reserve(out.size() + (size + 2) / 3 * 4 + (size / 57 + 1) * 2);
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
      const std::uint32_t v = (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) |
                              std::uint32_t{data[i + 2]};
      const char group[4] = {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63],
                             kAlphabet[(v >> 6) & 63], kAlphabet[v & 63]};
      out.append(group, 4);
      endGroup(out);
    }
    const std::size_t rest = size - i;
    if (rest == 0) return;
    std::uint32_t v = std::uint32_t{data[i]} << 16;
    if (rest == 2) v |= std::uint32_t{data[i + 1]} << 8;
    out.push_back(kAlphabet[v >> 18]);
    out.push_back(kAlphabet[(v >> 12) & 63]);
    out.push_back(rest == 2 ? kAlphabet[(v >> 6) & 63] : '=');
    out.push_back('=');
    endGroup(out);
  }

 private:
  void endGroup(std::string& out) {
    if (!m_breakLines) return;
    m_lineChars += 4;
    if (m_lineChars >= kLineLength) {
      out.append("\r\n", 2);
      m_lineChars = 0;
    }
  }

  bool m_breakLines;
  std::size_t m_lineChars = 0;
};

// Collects alphabet characters into groups of four across calls.
class Decoder {
 public:
  void decode(const std::uint8_t* data, std::size_t size, std::string& out) {
    out.reserve(out.size() + size / 4 * 3 + 3);
    std::size_t i = 0;
    while (i < size) {
      // Whole groups of four plain alphabet characters, the usual case, go straight through.
      if (m_count == 0) {
        while (i + 4 <= size) {
          const std::uint32_t a = kDecode[data[i]], b = kDecode[data[i + 1]],
                              c = kDecode[data[i + 2]], d = kDecode[data[i + 3]];
          if ((a | b | c | d) >= 64) break;
          const std::uint32_t v = (a << 18) | (b << 12) | (c << 6) | d;
          const char decoded[3] = {static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                                   static_cast<char>(v)};
          out.append(decoded, 3);
          i += 4;
        }
        if (i >= size) break;
      }
      const std::uint8_t value = kDecode[data[i++]];
      if (value == kSkip) continue;
      m_group[m_count++] = value;
      if (m_count == 4) {
        emit(out);
        m_count = 0;
      }
    }
  }

  // A truncated text: two or three characters still give the bytes they fully describe.
  void finish(std::string& out) {
    if (m_count >= 2) {
      for (std::size_t k = m_count; k < 4; ++k) m_group[k] = kPad;
      emit(out);
    }
    m_count = 0;
  }

 private:
  void emit(std::string& out) const {
    auto bits = [](std::uint8_t v) { return v == kPad ? 0u : std::uint32_t{v}; };
    const std::uint32_t v = (bits(m_group[0]) << 18) | (bits(m_group[1]) << 12) |
                            (bits(m_group[2]) << 6) | bits(m_group[3]);
    // A "=" in the fourth place drops one byte, in the third place too a second one.
    std::size_t bytes = 3;
    if (m_group[3] == kPad) bytes = m_group[2] == kPad ? 1 : 2;
    const char decoded[3] = {static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                             static_cast<char>(v)};
    out.append(decoded, bytes);
  }

  std::uint8_t m_group[4] = {};
  std::size_t m_count = 0;
};

const std::uint8_t* bytesOf(std::string_view text) {
  return reinterpret_cast<const std::uint8_t*>(text.data());
}

void writeAll(std::ostream& out, const std::string& text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

void base64EncodeStream(std::istream& in, std::ostream& out) {
  Encoder encoder;
  std::string block(kEncodeBlock, '\0');
  std::string text;
  for (;;) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    text.clear();
    encoder.encode(bytesOf(block), got, text);
    writeAll(out, text);
  }
}

void base64DecodeStream(std::istream& in, std::ostream& out) {
  Decoder decoder;
  std::string block(kDecodeBlock, '\0');
  std::string bytes;
  for (;;) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    bytes.clear();
    decoder.decode(bytesOf(block), got, bytes);
    writeAll(out, bytes);
  }
  bytes.clear();
  decoder.finish(bytes);
  writeAll(out, bytes);
}

std::string base64EncodeText(std::string_view bytes) {
  std::string text;
  Encoder().encode(bytesOf(bytes), bytes.size(), text);
  return text;
}

std::string base64DecodeText(std::string_view text) {
  std::string bytes;
  Decoder decoder;
  decoder.decode(bytesOf(text), text.size(), bytes);
  decoder.finish(bytes);
  return bytes;
}

std::string base64DecodeStrict(std::string_view text) {
  const auto refuse = [](const char* why) -> void {
    throw Error(std::string("Invalid base64 text: ") + why);
  };
  std::string values;  // the 6-bit value of each alphabet character, in order
  values.reserve(text.size());
  std::size_t pads = 0;
  for (const char c : text) {
    if (c == '\r' || c == '\n' || c == ' ' || c == '\t') continue;
    const std::uint8_t value = kDecode[static_cast<std::uint8_t>(c)];
    if (value == kPad) {
      if (++pads > 2) refuse("more than two pad characters");
    } else if (value == kSkip) {
      refuse("a character outside the alphabet");
    } else if (pads > 0) {
      refuse("a pad character before the end");
    } else {
      values.push_back(static_cast<char>(value));
    }
  }
  if ((values.size() + pads) % 4 != 0) refuse("not whole groups of four characters");
  // one pad leaves 2 bits of the last character unused, two pads leave 4: they must be zero
  if (pads > 0 && (static_cast<std::uint8_t>(values.back()) & (pads == 1 ? 0x03 : 0x0F)) != 0) {
    refuse("pad bits that are not zero");
  }
  std::string bytes;
  bytes.reserve(values.size() / 4 * 3 + 2);
  std::uint32_t bits = 0;
  int held = 0;
  for (const char v : values) {
    bits = (bits << 6) | static_cast<std::uint8_t>(v);
    held += 6;
    if (held >= 8) {
      held -= 8;
      bytes.push_back(static_cast<char>((bits >> held) & 0xFF));
    }
  }
  return bytes;
}

std::string base64Line(std::string_view bytes) {
  // The encoder only ever writes CR LF as line breaks, so leaving them out is removing them.
  std::string line;
  Encoder(false).encode(bytesOf(bytes), bytes.size(), line);
  return line;
}

}  // namespace athup::security
