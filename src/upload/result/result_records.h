#pragma once

#include <string>
#include <string_view>

// The result file the filing server sends with a query answer (and keeps as the receipt file):
// Big5 text, one "ORB000" header line and one "ORB001" status line per file it received. Columns
// below are 1-based Big5 byte columns; texts here are UTF-8.
namespace athup::upload {

// The header line, each field trimmed of leading and trailing blanks. A file without a header
// line leaves every field empty; with several, the last one counts.
struct ResultHeader {
  std::string recordId;        //  1-6   "ORB000"
  std::string ban;             //  7-14
  std::string dailyMaximum;    // 15-17  uploads allowed a day
  std::string field18;         // 18-22
  std::string uploadsCounted;  // 23-25  uploads counted so far
  std::string status;          // 26     "0" complete, "2" counts differ, "6" files missing
  std::string field27;         // 27-29
  std::string field30;         // 30-32
  std::string field33;         // 33-46
  std::string field47;         // 47
  std::string field48;         // 48-50
  std::string serialCheck;     // 51     "N": the return's success number does not match
  std::string t02Check;        // 52     "N": the uploaded .T02 does not match
  std::string t08Check;        // 53     "N": the uploaded .T08 does not match
  std::string field54;         // 54
  std::string firstCount;      // 55-57
  std::string secondCount;     // 58-60

  bool operator==(const ResultHeader&) const = default;
};

// A status line cut at its columns, blanks kept.
struct StatusLine {
  std::string recordId;      //   1-6   "ORB001"
  std::string fileCd;        //   7-8   category code "02", "08" or "14"
  std::string field9;        //   9-12
  std::string field13;       //  13-14
  std::string fileName;      //  15-35  as sent: FILE_NM, or BAN_code for an index document
  std::string fileSubName;   //  36-38
  std::string fileSize;      //  39-58  bytes, digits
  std::string compressSize;  //  59-78  bytes sent, digits
  std::string receivedAt;    //  79-92  yyyymmddhhnnss
  std::string secondStamp;   //  93-106
  std::string field107;      // 107-114
  std::string statusText;    // 115-164 for the user

  bool operator==(const StatusLine&) const = default;
};

inline constexpr std::string_view kHeaderRecordId = "ORB000";
inline constexpr std::string_view kStatusRecordId = "ORB001";

// Whether the line's first six characters, without blanks, are "ORB000" / "ORB001".
[[nodiscard]] bool isHeaderLine(std::string_view utf8Line);
[[nodiscard]] bool isStatusLine(std::string_view utf8Line);

// Fills a header record from a header line (fields trimmed). A short line leaves the fields past
// its end empty.
[[nodiscard]] ResultHeader parseHeaderLine(std::string_view utf8Line);
// Cuts a status line into its fields (blanks kept). A short line leaves the later fields short or
// empty; a double-byte character is never split, it stays with the field it starts in.
[[nodiscard]] StatusLine parseStatusLine(std::string_view utf8Line);

// "yyyymmddhhnnss" -> "yyyy/mm/dd hh:nn:ss", cut by position whatever the characters are; a
// shorter text gives the parts it has.
[[nodiscard]] std::string formatStamp(std::string_view stamp);

}  // namespace athup::upload
