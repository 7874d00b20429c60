#pragma once

#include <string>

namespace athup::app {

// The filing period's values, replaced as a whole by each successful preparation.
struct Period {
  std::string gDataYM;   // period the data belongs to, YYYMM (ROC year)
  std::string gApplyYM;  // filing period, the month after gDataYM
  std::string gToday;    // today, ROC YYYMMDD
  bool gDebugMode = false;

  bool operator==(const Period&) const = default;
};

}  // namespace athup::app
