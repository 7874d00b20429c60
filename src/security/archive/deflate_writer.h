#pragma once

#include <zlib.h>

#include <cstddef>
#include <functional>
#include <vector>

namespace athup::security::zlb {

// Compresses what is written to it into one zlib stream (15-bit window, memory level 8) and hands
// the compressed bytes to a sink as they come, so a large file never sits in memory whole.
class DeflateWriter {
 public:
  using Sink = std::function<void(const unsigned char* data, std::size_t size)>;

  // Throws athup::Error when zlib cannot start a stream at this level.
  DeflateWriter(int level, Sink sink);
  ~DeflateWriter();
  DeflateWriter(const DeflateWriter&) = delete;
  DeflateWriter& operator=(const DeflateWriter&) = delete;

  void write(const unsigned char* data, std::size_t size);
  // Ends the stream (header, data and Adler-32 trailer are then complete at the sink).
  void finish();

 private:
  void pump(int flush);

  z_stream m_stream{};
  Sink m_sink;
  std::vector<unsigned char> m_out;
  bool m_finished = false;
};

}  // namespace athup::security::zlb
