#include "upload/run/upload_fields.h"

#include "common/big5.h"

namespace athup::upload {

std::vector<std::string> uploadFieldLines(const UploadFileFields& f) {
  const std::pair<const char*, std::string> values[] = {
      {"ban", f.ban},
      {"certtp", f.certType},
      {"passwd", f.password},
      {"version", f.version},
      {"versionDate", f.versionDate},
      {"osTp", f.osText},
      {"clientIp", f.clientIp},
      {"yearMon", f.yearMon},
      {"seal", f.seal},
      {"updSerial", f.serial},
      {"fileCd", f.fileCd},
      {"fileNum1", f.fileNum1},
      {"fileNum2", f.fileNum2},
      {"fileNo", std::to_string(f.fileNo)},
      {"fileTotal", std::to_string(f.fileTotal)},
      {"status", "I"},
      {"fileName", f.fileName},
      {"fileSubName", f.fileSubName},
      {"fileSize", f.fileSize},
      {"compressSize", std::to_string(f.compressSize)},
      {"crc", f.crc},
  };
  std::vector<std::string> lines;
  lines.reserve(std::size(values));
  for (const auto& [name, value] : values) {
    lines.push_back(std::string(name) + "=" + common::utf8ToBig5(value));
  }
  return lines;
}

std::string fileNumberOfSequence(std::string_view fileSeq) {
  return std::string(fileSeq.size() > 4 ? fileSeq.substr(fileSeq.size() - 4) : fileSeq);
}

std::string fileNumberOfSubSequence(std::string_view subSeq) {
  std::string padded(subSeq);
  while (padded.size() < 2) padded.insert(padded.begin(), '0');
  return padded;
}

}  // namespace athup::upload
