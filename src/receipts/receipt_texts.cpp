#include "receipts/receipt_texts.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "common/text_helpers.h"

namespace athup::receipts {

namespace {

// A whole number from a text of digits only; nullopt for anything else.
std::optional<int> wholeNumber(std::string_view text) {
  int value = 0;
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end || text.front() == '-') {
    return std::nullopt;
  }
  return value;
}

std::string groupThousands(std::string digits) {
  std::string out;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) {
      out += ',';
    }
    out += digits[i];
  }
  return out;
}

}  // namespace

std::string formatSize(std::string_view text) {
  const std::string trimmed = common::trimBlanks(text);
  if (common::isAllDigits(trimmed)) {
    // Whole byte counts are grouped digit by digit, exact at any length.
    const std::size_t first = trimmed.find_first_not_of('0');
    return groupThousands(first == std::string::npos ? "0" : trimmed.substr(first));
  }
  double value = 0;
  if (!trimmed.empty()) {
    // Only a plain decimal number counts: strtod alone would take "0x10", "inf" or "1e3".
    bool plain = true;
    for (const char c : trimmed) {
      if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')) {
        plain = false;
      }
    }
    char* end = nullptr;
    const double parsed = plain ? std::strtod(trimmed.c_str(), &end) : 0;
    if (plain && end == trimmed.c_str() + trimmed.size()) {
      value = parsed;
    }
  }
  const double rounded = std::round(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(rounded));
  std::string grouped = groupThousands(buffer);
  return rounded < 0 ? "-" + grouped : grouped;
}

std::string periodText(std::string_view applyYM) {
  const std::string_view year = applyYM.substr(0, 3);
  const std::string_view month = applyYM.size() > 3 ? applyYM.substr(3, 2) : std::string_view{};
  return std::string(year) + "年" + common::padLeft(month, 2, "0") + "月";
}

std::string categoryLabel(std::string_view fileCd) {
  if (fileCd == "02") {
    return "02：零稅率非經海關";
  }
  if (fileCd == "08") {
    return "08：固定資產退稅清單";
  }
  if (fileCd == "14") {
    return "14：納保法聲明書";
  }
  return std::string(fileCd);
}

std::string rocSlashDate(std::string_view stamp) {
  const auto year = wholeNumber(stamp.substr(0, 4));
  if (!year) {
    return {};
  }
  const std::string_view month = stamp.size() > 4 ? stamp.substr(4, 2) : std::string_view{};
  const std::string_view day = stamp.size() > 6 ? stamp.substr(6, 2) : std::string_view{};
  return std::to_string(*year - 1911) + "/" + std::string(month) + "/" + std::string(day);
}

std::string stampDate(std::string_view yyyymmdd) {
  const auto year = wholeNumber(yyyymmdd.substr(0, 4));
  if (!year) {
    return {};
  }
  const std::string month(yyyymmdd.size() > 4 ? yyyymmdd.substr(4, 2) : std::string_view{});
  const std::string day(yyyymmdd.size() > 6 ? yyyymmdd.substr(6, 2) : std::string_view{});
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%3d.%2s.%2s", *year - 1911, month.c_str(), day.c_str());
  return buffer;
}

std::string officeName(std::string_view hsnCd, bool newNaming) {
  struct Office {
    std::string_view codes;
    std::string_view newer;
    std::string_view older;
  };
  static constexpr Office kOffices[] = {
      {"A", "臺北國稅局", "臺北市國稅局"},
      {"E", "高雄國稅局", "高雄市國稅局"},
      {"CFGHJOUWZ", "北區國稅局", "臺灣省北區國稅局"},
      {"BKMNP", "中區國稅局", "臺灣省中區國稅局"},
      {"DIQTVX", "南區國稅局", "臺灣省南區國稅局"},
  };
  if (hsnCd == "fdc") {
    return newNaming ? "財政資訊中心" : "財稅資料中心";
  }
  if (hsnCd.size() == 1) {
    for (const Office& office : kOffices) {
      if (office.codes.find(hsnCd.front()) != std::string_view::npos) {
        return std::string(newNaming ? office.newer : office.older);
      }
    }
  }
  return {};
}

}  // namespace athup::receipts
