#include "filing_server/result_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

#include "common/big5.h"
#include "common/errors.h"
#include "security/codecs/base64.h"

namespace athup::filing_server {
namespace {

std::string digits(std::uint64_t value, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*llu", width, static_cast<unsigned long long>(value));
  return text;
}

std::string count3(int value) {
  return digits(static_cast<std::uint64_t>(std::clamp(value, 0, 999)), 3);
}

// ASCII text cut or blank-padded to exactly `width` characters.
std::string field(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, std::min(text.size(), width)));
  out.resize(width, ' ');
  return out;
}

// Big5 bytes cut to `width` bytes without splitting a double-byte character, blank-padded.
std::string big5Field(std::string_view big5, std::size_t width) {
  const std::string cut = common::cutToBig5Width(common::big5ToUtf8(big5), width);
  std::string out = common::utf8ToBig5Lossy(cut);
  out.resize(width, ' ');
  return out;
}

}  // namespace

std::string headerLine(const ResultHeader& header) {
  std::string line = "ORB000";
  line += field(header.ban, 8);
  line += count3(header.dailyMaximum);
  line += field(header.yearMon, 5);
  line += count3(header.uploadsCounted);
  line += header.status;
  line += "000";
  line += "000";
  line += field(header.lastReceivedAt, 14);
  line += ' ';
  line += "000";
  line += header.serialCheck;
  line += header.t02Check;
  line += header.t08Check;
  line += ' ';
  line += count3(header.firstCount);
  line += count3(header.secondCount);
  return line;
}

std::string statusLine(const ReceivedFile& file, std::string_view utf8StatusText) {
  std::string line = "ORB001";
  line += field(file.fileCd, 2);
  line += field(file.fileNum1, 4);
  line += field(file.fileNum2, 2);
  line += big5Field(file.fileName, 21);
  line += big5Field(file.fileSubName, 3);
  line += digits(file.fileSize, 20);
  line += digits(file.compressSize, 20);
  line += field(file.receivedAt, 14);
  line += field(file.receivedAt, 14);
  std::string crc = file.crc.substr(0, std::min<std::size_t>(file.crc.size(), 8));
  line += std::string(8 - crc.size(), ' ') + crc;
  line += big5Field(common::utf8ToBig5Lossy(utf8StatusText), 50);
  return line;
}

std::string zlibCompressed(std::string_view bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    throw Error("zlib compression failed");
  }
  out.resize(size);
  return out;
}

std::string encodeResultList(std::string_view big5Text) {
  return security::base64Line(zlibCompressed(big5Text));
}

}  // namespace athup::filing_server
