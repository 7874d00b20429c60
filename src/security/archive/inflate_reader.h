#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <istream>
#include <vector>

namespace athup::security::zlb {

// Inflates one zlib stream that starts at the current position of a file, reading at most
// `limit` compressed bytes from it.
class InflateReader {
 public:
  // Throws athup::Error when zlib cannot start.
  InflateReader(std::istream& in, std::uint64_t limit);
  ~InflateReader();
  InflateReader(const InflateReader&) = delete;
  InflateReader& operator=(const InflateReader&) = delete;

  // Fills up to `size` bytes and returns how many. Fewer than asked only when the stream ended
  // or the compressed bytes ran out; broken data throws athup::Error.
  [[nodiscard]] std::size_t read(unsigned char* out, std::size_t size);

  // True once the stream's end (with a matching Adler-32) was reached.
  [[nodiscard]] bool ended() const { return m_ended; }

 private:
  std::istream& m_in;
  std::uint64_t m_left;
  z_stream m_stream{};
  std::vector<unsigned char> m_buffer;
  bool m_ended = false;
};

}  // namespace athup::security::zlb
