#include "index/parser/text_lines.h"

namespace athup::index {
namespace {

constexpr char kCtrlZ = 26;

bool endsLine(char ch) {
  return ch == '\r' || ch == '\n' || ch == kCtrlZ;
}

}  // namespace

std::vector<std::int64_t> scanLineStarts(std::string_view content) {
  std::vector<std::int64_t> starts;
  std::size_t i = 0;
  while (i < content.size()) {
    const char ch = content[i];
    if (ch == kCtrlZ) break;
    if (ch == '\r' || ch == '\n') {
      ++i;
      continue;
    }
    starts.push_back(static_cast<std::int64_t>(i));
    while (i < content.size() && !endsLine(content[i])) ++i;
  }
  return starts;
}

std::string_view lineAt(std::string_view content, std::int64_t start) {
  if (start < 0 || static_cast<std::uint64_t>(start) >= content.size()) return {};
  std::size_t end = static_cast<std::size_t>(start);
  while (end < content.size() && !endsLine(content[end])) ++end;
  return content.substr(static_cast<std::size_t>(start), end - static_cast<std::size_t>(start));
}

std::string lineRecord(std::string_view line, int recordLength) {
  if (recordLength <= 0) return {};
  const auto length = static_cast<std::size_t>(recordLength);
  std::string record(line.substr(0, length));
  for (char& ch : record) {
    if (ch == '\0' || static_cast<unsigned char>(ch) == 0xFF) ch = ' ';
  }
  record.resize(length, ' ');
  // The line end takes the last two places; a one-byte record has room for the LF only.
  record[length - 1] = '\n';
  if (length >= 2) record[length - 2] = '\r';
  return record;
}

}  // namespace athup::index
