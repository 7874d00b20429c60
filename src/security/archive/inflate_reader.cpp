#include "security/archive/inflate_reader.h"

#include <algorithm>
#include <string>

#include "common/errors.h"

namespace athup::security::zlb {
namespace {

constexpr std::size_t kInBlock = 16 * 1024;

std::string zlibMessage(const z_stream& stream, int rc) {
  if (stream.msg != nullptr) return stream.msg;
  return rc == Z_MEM_ERROR ? "out of memory" : "zlib error " + std::to_string(rc);
}

}  // namespace

InflateReader::InflateReader(std::istream& in, std::uint64_t limit)
    : m_in(in), m_left(limit), m_buffer(kInBlock) {
  const int rc = inflateInit(&m_stream);
  if (rc != Z_OK) throw Error("Decompress error: " + zlibMessage(m_stream, rc));
}

InflateReader::~InflateReader() {
  inflateEnd(&m_stream);
}

std::size_t InflateReader::read(unsigned char* out, std::size_t size) {
  size = std::min<std::size_t>(size, 1u << 30);
  m_stream.next_out = out;
  m_stream.avail_out = static_cast<uInt>(size);
  while (m_stream.avail_out > 0 && !m_ended) {
    if (m_stream.avail_in == 0) {
      const auto want = static_cast<std::streamsize>(std::min<std::uint64_t>(m_left, kInBlock));
      if (want == 0) break;
      m_in.read(reinterpret_cast<char*>(m_buffer.data()), want);
      const auto got = m_in.gcount();
      if (got <= 0) break;
      m_left -= static_cast<std::uint64_t>(got);
      m_stream.next_in = m_buffer.data();
      m_stream.avail_in = static_cast<uInt>(got);
    }
    const int rc = inflate(&m_stream, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) {
      m_ended = true;
    } else if (rc == Z_BUF_ERROR && m_stream.avail_in > 0) {
      // never loop on input zlib will not take
      throw Error("Decompress error: no progress");
    } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
      throw Error("Decompress error: " + zlibMessage(m_stream, rc));
    }
  }
  return size - m_stream.avail_out;
}

}  // namespace athup::security::zlb
