#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace athup::upload {

// The description fields of one uploaded file, as the server reads them (UTF-8 here).
struct UploadFileFields {
  std::string ban;
  std::string certType;
  std::string password;
  std::string version;  // as versionForServer gives it
  std::string versionDate;
  std::string osText;
  std::string clientIp;
  std::string yearMon;
  std::string seal;
  std::string serial;
  std::string fileCd;    // "02", "08", "14"
  std::string fileNum1;  // empty for an index document
  std::string fileNum2;  // empty for an index document
  int fileNo = 0;
  int fileTotal = 0;
  std::string fileName;
  std::string fileSubName;
  std::string fileSize;
  std::uint64_t compressSize = 0;
  std::string crc;
};

// The name=value lines of the multipart text parts, in the order the server expects, each value
// whole and in Big5. A value Big5 cannot hold raises athup::Error.
[[nodiscard]] std::vector<std::string> uploadFieldLines(const UploadFileFields& fields);

// The last four characters of FILE_SEQ ("T02000123" -> "0123"); a shorter sequence whole.
[[nodiscard]] std::string fileNumberOfSequence(std::string_view fileSeq);
// SUB_SEQ left-padded with "0" to two characters ("0" -> "00", "12" -> "12").
[[nodiscard]] std::string fileNumberOfSubSequence(std::string_view subSeq);

}  // namespace athup::upload
