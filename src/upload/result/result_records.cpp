#include "upload/result/result_records.h"

#include <cstddef>
#include <vector>

#include "common/big5.h"
#include "common/text_helpers.h"

namespace athup::upload {
namespace {

// Cuts Big5 bytes at 1-based column widths, never splitting a double-byte character: one that
// starts on a field's last column stays whole in that field and the next field starts after it.
std::vector<std::string> cutColumns(std::string_view big5,
                                    std::initializer_list<std::size_t> widths) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  for (const std::size_t width : widths) {
    const std::size_t begin = std::min(at, big5.size());
    std::size_t end = std::min(at + width, big5.size());
    std::size_t i = begin;
    while (i < end) i += common::isBig5LeadByte(static_cast<unsigned char>(big5[i])) ? 2 : 1;
    end = std::min(i, big5.size());
    fields.push_back(common::big5ToUtf8(big5.substr(begin, end - begin)));
    at = std::max(at + width, end);
  }
  return fields;
}

std::string recordIdOf(std::string_view utf8Line) {
  std::string id;
  for (const char c : utf8Line.substr(0, 6))
    if (c != ' ') id += c;
  return id;
}

}  // namespace

bool isHeaderLine(std::string_view utf8Line) {
  return recordIdOf(utf8Line) == kHeaderRecordId;
}
bool isStatusLine(std::string_view utf8Line) {
  return recordIdOf(utf8Line) == kStatusRecordId;
}

ResultHeader parseHeaderLine(std::string_view utf8Line) {
  const auto f = cutColumns(common::utf8ToBig5Lossy(utf8Line),
                            {6, 8, 3, 5, 3, 1, 3, 3, 14, 1, 3, 1, 1, 1, 1, 3, 3});
  ResultHeader h;
  std::string* targets[] = {
      &h.recordId, &h.ban,      &h.dailyMaximum, &h.field18,    &h.uploadsCounted, &h.status,
      &h.field27,  &h.field30,  &h.field33,      &h.field47,    &h.field48,        &h.serialCheck,
      &h.t02Check, &h.t08Check, &h.field54,      &h.firstCount, &h.secondCount};
  for (std::size_t i = 0; i < f.size(); ++i) *targets[i] = common::trimBlanks(f[i]);
  return h;
}

StatusLine parseStatusLine(std::string_view utf8Line) {
  const auto f =
      cutColumns(common::utf8ToBig5Lossy(utf8Line), {6, 2, 4, 2, 21, 3, 20, 20, 14, 14, 8, 50});
  StatusLine s;
  std::string* targets[] = {&s.recordId,   &s.fileCd,      &s.field9,   &s.field13,
                            &s.fileName,   &s.fileSubName, &s.fileSize, &s.compressSize,
                            &s.receivedAt, &s.secondStamp, &s.field107, &s.statusText};
  for (std::size_t i = 0; i < f.size(); ++i) *targets[i] = f[i];
  return s;
}

std::string formatStamp(std::string_view stamp) {
  const auto part = [&](std::size_t from, std::size_t count) {
    return from < stamp.size() ? std::string(stamp.substr(from, count)) : std::string();
  };
  return part(0, 4) + "/" + part(4, 2) + "/" + part(6, 2) + " " + part(8, 2) + ":" + part(10, 2) +
         ":" + part(12, 2);
}

}  // namespace athup::upload
