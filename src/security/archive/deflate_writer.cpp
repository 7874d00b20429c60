#include "security/archive/deflate_writer.h"

#include <algorithm>
#include <string>

#include "common/errors.h"

namespace athup::security::zlb {
namespace {

constexpr std::size_t kOutBlock = 64 * 1024;
constexpr int kWindowBits = 15;
constexpr int kMemoryLevel = 8;

[[noreturn]] void fail(int code) {
  throw Error("zlib deflate error " + std::to_string(code));
}

}  // namespace

DeflateWriter::DeflateWriter(int level, Sink sink) : m_sink(std::move(sink)), m_out(kOutBlock) {
  const int rc =
      deflateInit2(&m_stream, level, Z_DEFLATED, kWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY);
  if (rc != Z_OK) fail(rc);
}

DeflateWriter::~DeflateWriter() {
  deflateEnd(&m_stream);
}

void DeflateWriter::write(const unsigned char* data, std::size_t size) {
  while (size > 0) {
    // avail_in is 32 bits wide; feed very large buffers in slices
    const std::size_t slice = std::min<std::size_t>(size, 1u << 30);
    m_stream.next_in = const_cast<Bytef*>(data);
    m_stream.avail_in = static_cast<uInt>(slice);
    pump(Z_NO_FLUSH);
    data += slice;
    size -= slice;
  }
}

void DeflateWriter::finish() {
  if (m_finished) return;
  m_stream.next_in = nullptr;
  m_stream.avail_in = 0;
  pump(Z_FINISH);
  m_finished = true;
}

void DeflateWriter::pump(int flush) {
  for (;;) {
    m_stream.next_out = m_out.data();
    m_stream.avail_out = static_cast<uInt>(m_out.size());
    const int rc = deflate(&m_stream, flush);
    if (rc == Z_STREAM_ERROR) fail(rc);
    const std::size_t produced = m_out.size() - m_stream.avail_out;
    if (produced > 0) m_sink(m_out.data(), produced);
    if (flush == Z_FINISH) {
      if (rc == Z_STREAM_END) return;
      if (rc != Z_OK && rc != Z_BUF_ERROR) fail(rc);
      continue;
    }
    // without finishing, done once zlib took all input and had room to spare
    if (m_stream.avail_in == 0 && m_stream.avail_out != 0) return;
  }
}

}  // namespace athup::security::zlb
