#pragma once

#include <string>
#include <string_view>

#include "filing_server/taxpayer_ledger.h"

// The result file a query answer carries: Big5 lines joined by CR LF, one "ORB000" header line
// and one "ORB001" status line per file, sent as base64 of its zlib stream.
namespace athup::filing_server {

// Processing status in column 26 of the header line.
inline constexpr char kStatusComplete = '0';      // every file of the latest run arrived
inline constexpr char kStatusIncomplete = '2';    // files are still missing (counts differ)
inline constexpr char kStatusNothing = '1';       // no file received yet
inline constexpr char kStatusMissingFiles = '6';  // the server found files missing

// The status text the server gives every file it accepted.
inline constexpr std::string_view kStatusAccepted = "主機作業處理完成(上傳成功)";

struct ResultHeader {
  std::string ban;
  int dailyMaximum = 0;    // columns 15-17
  std::string yearMon;     // columns 18-22
  int uploadsCounted = 0;  // columns 23-25
  char status = kStatusNothing;
  std::string lastReceivedAt;  // columns 33-46, yyyymmddhhnnss or blank
  char serialCheck = 'Y';      // column 51
  char t02Check = 'Y';         // column 52
  char t08Check = 'Y';         // column 53
  int firstCount = 0;          // columns 55-57: files the run announced
  int secondCount = 0;         // columns 58-60: files that arrived
};

// 60 columns; numbers are three zero-padded digits (999 at most).
[[nodiscard]] std::string headerLine(const ResultHeader& header);

// 164 columns of Big5: names cut to their widths without splitting a character, sizes as twenty
// zero-padded digits, the file checksum in columns 107-114.
[[nodiscard]] std::string statusLine(const ReceivedFile& file, std::string_view utf8StatusText);

// The bytes as one zlib stream (RFC 1950, default level).
[[nodiscard]] std::string zlibCompressed(std::string_view bytes);

// The "list" value of a query answer: one-line base64 of the zlib stream of the Big5 text.
[[nodiscard]] std::string encodeResultList(std::string_view big5Text);

}  // namespace athup::filing_server
