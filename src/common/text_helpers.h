#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Small text helpers shared by many windows and flows. Texts are UTF-8; every "length" and
// "width" here counts the bytes the text takes in Big5, the code page of the filing files. Lists
// of texts are passed as std::vector<std::string>; an empty vector stands for an absent list.
namespace athup::common {

// Puts `pad` in front of `text` until its Big5 width reaches `width` (a pad longer than one byte
// may overshoot). Widths above kMaxPadWidth are treated as kMaxPadWidth; an empty pad returns the
// text unchanged instead of looping.
inline constexpr std::size_t kMaxPadWidth = 10000;
[[nodiscard]] std::string padLeft(std::string_view text, std::size_t width, std::string_view pad);

// Appends `pad` to `text` until its Big5 width reaches `width`; same limits as padLeft.
[[nodiscard]] std::string padRight(std::string_view text, std::size_t width, std::string_view pad);

// False when the text is empty once blanks (control characters and spaces) are trimmed;
// otherwise true exactly when every byte of the untrimmed text is '0'..'9'.
[[nodiscard]] bool isAllDigits(std::string_view text);

// True when `text` equals one of the list's texts exactly (case-sensitive).
[[nodiscard]] bool isInList(std::string_view text, const std::vector<std::string>& list);

// Key filter: when `kinds` is even, 'A'..'Z' count; when it is a multiple of 3, 'a'..'z' count.
// Filters pass 6 for both cases.
[[nodiscard]] bool isLetterKind(char character, int kinds);

// Every item followed by CR LF; an empty list gives an empty text.
[[nodiscard]] std::string joinLines(const std::vector<std::string>& lines);

// The pieces between occurrences of `delimiter`, delimiters removed; the text after the last
// delimiter is the last piece (possibly empty), so "a|b|" gives a, b and "". A text without the
// delimiter, or an empty delimiter, gives one piece. Since texts are UTF-8, an ASCII delimiter can
// never match inside a Chinese character (the Big5 trail-byte trap does not arise).
[[nodiscard]] std::vector<std::string> splitText(std::string_view text, std::string_view delimiter);

// Cuts the text into lines of at most `width` Big5 bytes, each followed by a single CR (not
// CR LF). A double-byte character is never split: such a line is one byte shorter. An empty text
// gives a single CR. Widths below 2 are treated as 2 so a double-byte character always fits.
[[nodiscard]] std::string wrapTextByBytes(std::string_view text, std::size_t width);

// Sorts rows of '|'-separated columns in place by the column with the 0-based index `column`
// (blanks trimmed; a row without that column has an empty key), comparing the keys as Big5 byte
// texts. `order` containing "MaxToMin" sorts from the largest key down, containing "MinToMax"
// from the smallest up (both: descending first, then ascending). The sort is stable: rows with
// equal keys keep their relative order.
void sortRowsByColumn(std::vector<std::string>& rows, std::string_view order, std::size_t column);

// The text with leading and trailing blanks (bytes up to and including the space) removed.
[[nodiscard]] std::string trimBlanks(std::string_view text);

}  // namespace athup::common
