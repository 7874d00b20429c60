#include "receipts/receipt_file_list.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "common/file_helpers.h"
#include "common/local_time.h"
#include "common/text_helpers.h"

namespace athup::receipts {

namespace fs = std::filesystem;

namespace {

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string fileTimeText(const fs::path& file) {
  std::error_code error;
  const auto written = fs::last_write_time(file, error);
  if (error) {
    return {};
  }
  const auto when = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
      std::chrono::file_clock::to_sys(written));
  const std::tm parts = common::localTimeParts(when);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900,
                parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  return buffer;
}

}  // namespace

bool isReceiptFileName(std::string_view name, std::string_view applyYM) {
  if (name.size() != 17 || !common::isAllDigits(name.substr(0, 8)) ||
      name.substr(8, 5) != applyYM) {
    return false;
  }
  std::string extension = common::textAfterLastDot(name);
  for (char& c : extension) {
    c = upper(c);
  }
  return extension == "PRN";
}

bool matchesFileMask(std::string_view name, std::string_view mask) {
  // Backtracking over the last "*" is enough for masks of "*" and "?".
  std::size_t n = 0;
  std::size_t m = 0;
  std::size_t starMask = std::string_view::npos;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || upper(mask[m]) == upper(name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') {
    ++m;
  }
  return m == mask.size();
}

std::vector<ReceiptFile> findReceiptFiles(const fs::path& reportFolder,
                                          const std::vector<std::string>& masks,
                                          std::string_view applyYM) {
  std::vector<ReceiptFile> found;
  for (const std::string& mask : masks) {
    std::error_code error;
    for (fs::directory_iterator it(reportFolder, error), end; !error && it != end;
         it.increment(error)) {
      std::error_code kindError;
      if (!it->is_regular_file(kindError)) {
        continue;
      }
      const std::string name = common::utf8FromPath(it->path().filename());
      if (!matchesFileMask(name, mask) || !isReceiptFileName(name, applyYM)) {
        continue;
      }
      const std::string ban = name.substr(0, 8);
      bool known = false;
      for (const ReceiptFile& file : found) {
        known = known || file.ban == ban;
      }
      if (!known) {
        found.push_back({ban, fileTimeText(it->path())});
      }
    }
  }
  return found;
}

}  // namespace athup::receipts
