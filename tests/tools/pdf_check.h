#pragma once

#include <string>

namespace athup::demodata::testing {

// Checks the structure a PDF reader relies on: the header, the end marker, a cross-reference
// table whose offsets each point at their "N 0 obj" line, startxref pointing at it and stream
// lengths that match. Returns an empty text when the file is sound, else what is wrong.
std::string pdfProblems(const std::string& pdf);

}  // namespace athup::demodata::testing
