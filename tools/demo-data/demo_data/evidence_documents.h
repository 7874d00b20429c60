#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo_data/demo_scenario.h"

namespace athup::demodata {

// A scanned evidence document to attach to an index line.
struct EvidenceDocument {
  std::string fileName;  // BAN_T02_01.pdf, BAN_T08_01.pdf, BAN_TET.pdf
  std::string bytes;     // a PDF 1.4 file
};

// One document per line that needs evidence (T02 lines not cleared through customs, every T08
// line) and one declaration per return header, each of one to three pages.
[[nodiscard]] std::vector<EvidenceDocument> evidenceDocuments(const Scenario& scenario,
                                                              std::uint64_t seed);

}  // namespace athup::demodata
