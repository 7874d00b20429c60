#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace athup::cli {

// One in-process run of athup-cli with its streams captured.
struct CliResult {
  int code;
  std::string out;
  std::string err;
};

inline CliResult runCaptured(const std::vector<std::string>& argv, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int code = runCli(argv, in, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace athup::cli
