#pragma once

#include <string_view>

#include "index/parser/record_format.h"

// The record layouts of the three filing files the filing program leaves per taxpayer: BAN.T02
// (zero-rated sales not made through customs), BAN.T08 (fixed-asset refund list) and BAN.TET
// (the return header). Records are fixed-width Big5 and end with a CR LF field.
namespace athup::index {

inline constexpr int kT02RecordLength = 85;
inline constexpr int kT08RecordLength = 530;
inline constexpr int kTetRecordLength = 1268;

// Replaces the format's field definitions by the layout of the type ("T02", "T08", "TET"); any
// other type throws std::invalid_argument.
void applyFilingLayout(RecordFormat& format, std::string_view type);

}  // namespace athup::index
