#include "common/text_helpers.h"

#include <algorithm>
#include <utility>

#include "common/ascii.h"
#include "common/big5.h"

namespace athup::common {
namespace {

bool isBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// Repeats `pad` until `width` is reached; the pieces are collected once and joined so long pads do
// not copy the text on every step.
std::string padding(std::size_t have, std::size_t width, std::string_view pad) {
  std::string out;
  if (pad.empty()) return out;
  const std::size_t padWidth = std::max<std::size_t>(big5Width(pad), 1);
  width = std::min(width, kMaxPadWidth);
  while (have < width) {
    out += pad;
    have += padWidth;
  }
  return out;
}

// The column of a '|'-separated row, blanks trimmed; empty when the row has fewer columns.
std::string columnOf(std::string_view row, std::size_t column) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < column; ++i) {
    const std::size_t bar = row.find('|', start);
    if (bar == std::string_view::npos) return {};
    start = bar + 1;
  }
  const std::size_t end = row.find('|', start);
  return trimBlanks(
      row.substr(start, end == std::string_view::npos ? row.size() - start : end - start));
}

}  // namespace

std::string trimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string padLeft(std::string_view text, std::size_t width, std::string_view pad) {
  return padding(big5Width(text), width, pad) + std::string(text);
}

std::string padRight(std::string_view text, std::size_t width, std::string_view pad) {
  return std::string(text) + padding(big5Width(text), width, pad);
}

bool isAllDigits(std::string_view text) {
  if (trimBlanks(text).empty()) return false;
  return isAsciiDigits(text);
}

bool isInList(std::string_view text, const std::vector<std::string>& list) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

bool isLetterKind(char character, int kinds) {
  if (kinds % 2 == 0 && isAsciiUpper(character)) return true;
  if (kinds % 3 == 0 && isAsciiLower(character)) return true;
  return false;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::vector<std::string> splitText(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(delimiter, start);
    if (at == std::string_view::npos) break;
    pieces.emplace_back(text.substr(start, at - start));
    start = at + delimiter.size();
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

std::string wrapTextByBytes(std::string_view text, std::size_t width) {
  width = std::max<std::size_t>(width, 2);
  if (text.empty()) return "\r";
  std::string out;
  while (!text.empty()) {
    // cutToBig5Width never splits a character, so a line ending on a lead byte comes out one
    // byte shorter and the character opens the next line.
    const std::string line = cutToBig5Width(text, width);
    out += line;
    out += '\r';
    text.remove_prefix(line.size());
  }
  return out;
}

void sortRowsByColumn(std::vector<std::string>& rows, std::string_view order, std::size_t column) {
  const bool descending = order.find("MaxToMin") != std::string_view::npos;
  const bool ascending = order.find("MinToMax") != std::string_view::npos;
  if (!descending && !ascending) return;

  // Keys in Big5 so that Chinese text orders as it does in the filing program's code page.
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(rows.size());
  for (auto& row : rows) keyed.emplace_back(utf8ToBig5Lossy(columnOf(row, column)), std::move(row));

  // A bubble sort that swaps only strictly out-of-order neighbours is stable; stable_sort gives
  // the same order without the quadratic passes.
  if (descending) {
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
  }
  if (ascending) {
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::move(keyed[i].second);
}

}  // namespace athup::common
