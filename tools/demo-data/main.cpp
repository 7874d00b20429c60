#include <iostream>
#include <string>
#include <vector>

#include "demo_data/demo_data_cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return athup::demodata::runDemoDataCli(args, std::cout, std::cerr);
}
