#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "demo_data/filing_lines.h"

// Writers of the fixed-width records of the filing files: Big5 bytes, every record ending in CR LF.
namespace athup::demodata {

constexpr std::size_t kT02RecordWidth = 85;
constexpr std::size_t kT08RecordWidth = 530;
constexpr std::size_t kTetRecordWidth = 1268;

// A left-aligned Big5 field of width bytes, filled with fill. A text that does not fit is an error:
// the filing program never cuts a value silently.
[[nodiscard]] std::string leftField(std::string_view utf8, std::size_t width, char fill = ' ');

// A right-aligned decimal field of width characters, filled with "0" on the left; value >= 0.
[[nodiscard]] std::string zeroFilledNumber(std::int64_t value, std::size_t width);

// A signed zoned number of width characters: the last character carries the last digit and the
// sign ("}" / "J".."R" negative; "{" / "A".."I" positive when signedPositive, else a plain digit).
[[nodiscard]] std::string signedZoned(std::int64_t value, std::size_t width, bool signedPositive);

[[nodiscard]] std::string formatT02Record(const T02Line& line);
[[nodiscard]] std::string formatT08Record(const T08Line& line);
[[nodiscard]] std::string formatTetRecord(const TetRecord& record);

}  // namespace athup::demodata
