#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "upload/endpoints.h"
#include "upload/http_session.h"

namespace athup::upload {

// What the requests and uploads of a period need from the running program: the period, the
// program's version, where the server is and how it is trusted, and the folders they work in.
// Folder values end with the path separator.
struct FilingContext {
  std::string period;       // gDataYM, YYYMM
  std::string applyYM;      // gApplyYM: the receipt file's name carries it
  std::string version;      // gVersion, "105"
  std::string versionDate;  // gVersionDate
  Endpoints endpoints;
  TransportOptions transport;           // the settings' "ca_file" and proxy
  std::string proxyText;                // "host:port" for uploads, empty for the environment's
  std::filesystem::path programFolder;  // "UpldResult.XML" and "QueryResult.XML" are kept here
  std::filesystem::path workFolder;     // the program's "TMP" folder: working files
  std::filesystem::path backupFolder;   // gBackupPath: a copy of every sent document, per BAN
  std::filesystem::path reportFolder;   // gReportPath: the receipt files
  std::filesystem::path runLogFile;     // gRunLogFile
  const Clock* clock = nullptr;
};

// The version as the server reads it: gVersion as a number divided by 100 with two decimals
// ("105" -> "1.05"; not a number -> "0.00").
[[nodiscard]] std::string versionForServer(std::string_view version);

}  // namespace athup::upload
