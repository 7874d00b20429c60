#include "store/data_module/inflate_file.h"

#include <zlib.h>

#include <array>
#include <fstream>
#include <system_error>

#include "common/errors.h"
#include "common/file_helpers.h"

namespace athup::store {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

std::string zlibMessage(const z_stream& stream, int rc) {
  if (stream.msg != nullptr) {
    return stream.msg;
  }
  return rc == Z_MEM_ERROR ? "out of memory" : "zlib error " + std::to_string(rc);
}

// Ends the inflate stream however the scope is left.
struct InflateStream {
  z_stream stream{};
  InflateStream() {
    const int rc = inflateInit(&stream);
    if (rc != Z_OK) {
      throw Error("Decompress error: " + zlibMessage(stream, rc));
    }
  }
  ~InflateStream() { inflateEnd(&stream); }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;
};

void inflateInto(std::ifstream& in, std::ofstream& out) {
  InflateStream inflater;
  z_stream& stream = inflater.stream;
  std::array<char, kBlockSize> input{};
  std::array<char, kBlockSize> output{};
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    in.read(input.data(), input.size());
    const auto got = static_cast<uInt>(in.gcount());
    if (got == 0) {
      if (in.bad()) {
        throw Error("檔案讀取失敗");
      }
      // The data ended before the stream did: a cut-off download, not a result file.
      throw Error("Decompress error: unexpected end of data");
    }
    stream.next_in = reinterpret_cast<Bytef*>(input.data());
    stream.avail_in = got;
    do {
      stream.next_out = reinterpret_cast<Bytef*>(output.data());
      stream.avail_out = static_cast<uInt>(output.size());
      rc = inflate(&stream, Z_NO_FLUSH);
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
        throw Error("Decompress error: " + zlibMessage(stream, rc));
      }
      out.write(output.data(), static_cast<std::streamsize>(output.size() - stream.avail_out));
      if (!out) {
        throw Error("Write error");
      }
    } while (stream.avail_out == 0 && rc != Z_STREAM_END);
  }
}

}  // namespace

void inflateFile(const fs::path& source, const fs::path& destination) {
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    throw Error("檔案讀取失敗");
  }
  std::ofstream out(destination, std::ios::binary | std::ios::trunc);
  if (!out) {
    throw Error("Cannot create file " + common::utf8FromPath(destination));
  }
  try {
    inflateInto(in, out);
    out.close();
    if (!out) {
      throw Error("Write error");
    }
  } catch (...) {
    // A half-written result would read as a valid but incomplete file later.
    out.close();
    std::error_code error;
    fs::remove(destination, error);
    throw;
  }
}

}  // namespace athup::store
