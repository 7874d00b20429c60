#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "filing_server/filing_server.h"

namespace {

using athup::filing_server::FaultSwitches;
using athup::filing_server::FilingServer;
using athup::filing_server::ServerOptions;

constexpr std::string_view kUsage =
    "usage: filing-server --ca-file PATH [--port N] [--store DIR] [--version 1.05]\n"
    "                     [--version-date 1080315] [--password PW] [--account BAN=PW]...\n"
    "                     [--daily-max N] [--fault NAME[=VALUE]]...\n"
    "Serves on https://127.0.0.1:PORT until SIGINT or SIGTERM; see README.md for the faults.\n";

int usage(const std::string& problem) {
  std::cerr << "filing-server: " << problem << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  ServerOptions options;
  std::vector<std::pair<std::string, std::string>> faults;
  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (arg == "--help" || arg == "-h") {
        std::cout << kUsage;
        return 0;
      }
      if (i + 1 >= args.size()) return usage("missing value after " + arg);
      const std::string& value = args[++i];
      if (arg == "--ca-file") {
        options.caFile = value;
      } else if (arg == "--port") {
        options.port = std::stoi(value);
      } else if (arg == "--store") {
        options.storeDir = value;
      } else if (arg == "--version") {
        options.version = value;
      } else if (arg == "--version-date") {
        options.versionDate = value;
      } else if (arg == "--password") {
        options.defaultPassword = value;
      } else if (arg == "--account") {
        const auto eq = value.find('=');
        if (eq == std::string::npos) return usage("--account wants BAN=PASSWORD");
        options.accounts[value.substr(0, eq)] = value.substr(eq + 1);
      } else if (arg == "--daily-max") {
        options.dailyMaximum = std::stoi(value);
      } else if (arg == "--fault") {
        const auto eq = value.find('=');
        faults.emplace_back(value.substr(0, eq),
                            eq == std::string::npos ? std::string() : value.substr(eq + 1));
      } else {
        return usage("unknown option " + arg);
      }
    }
  } catch (const std::exception&) {
    return usage("a number was expected");
  }
  if (options.caFile.empty()) return usage("--ca-file is required");
  if (options.port < 0 || options.port > 65535) return usage("--port out of range");

  // Block the stop signals before any thread starts, so only sigwait below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  FilingServer server(options);
  for (const auto& [name, value] : faults) {
    const auto fault = FaultSwitches::byName(name);
    if (!fault) return usage("unknown fault " + name);
    server.faults().set(*fault, value);
  }
  try {
    server.start();
  } catch (const std::exception& e) {
    std::cerr << "filing-server: " << e.what() << "\n";
    return 1;
  }
  std::cout << "listening on " << server.baseUrl() << std::endl;

  int signal = 0;
  sigwait(&stopSignals, &signal);
  server.stop();
  return 0;
}
