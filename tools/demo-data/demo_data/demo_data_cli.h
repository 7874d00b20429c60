#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace athup::demodata {

// athup-demo-data --doc-dir DIR --period YYYMM [--seed N] [--program-dir DIR] [--db-path DIR]
// (arguments without the program name). Prints a summary of what was written and returns 0; a
// failure prints its message on err and returns 1; wrong arguments print the usage and return 2.
int runDemoDataCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace athup::demodata
