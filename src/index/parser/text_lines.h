#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How a text file is read line by line: a line is a maximal run of bytes other than CR, LF and
// Ctrl-Z; the CR and LF between lines are skipped (so empty lines do not count) and a Ctrl-Z
// ends the text.
namespace athup::index {

// The start of every line, in order.
[[nodiscard]] std::vector<std::int64_t> scanLineStarts(std::string_view content);

// The line that starts at the given position (empty for a position outside the content).
[[nodiscard]] std::string_view lineAt(std::string_view content, std::int64_t start);

// A line as a record of exactly recordLength bytes: its bytes cut to the length, NUL and 0xFF
// made blanks, blanks up to the length, and the last two bytes CR LF (so a line longer than
// recordLength - 2 loses what stands there).
[[nodiscard]] std::string lineRecord(std::string_view line, int recordLength);

}  // namespace athup::index
