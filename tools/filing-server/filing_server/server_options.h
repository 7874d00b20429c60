#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace athup::filing_server {

// What the simulator is started with. It always listens on 127.0.0.1 only.
struct ServerOptions {
  int port = 0;                         // 0: any free port; FilingServer::port() tells which
  std::filesystem::path caFile;         // the test authority's certificate is written here (PEM)
  std::filesystem::path storeDir;       // received documents go below it; empty: a temporary folder
  std::string version = "1.05";         // as the version page writes it, with the point
  std::string versionDate = "1080315";  // ROC YYYMMDD
  // Account passwords for certificate type "1": a BAN listed here must use its own password,
  // every other BAN the default one.
  std::map<std::string, std::string> accounts;
  std::string defaultPassword = "test1234";
  int dailyMaximum = 5;  // written into columns 15-17 of the header line
  std::uint64_t maxRequestBytes = 64ULL * 1024 * 1024;   // larger requests are refused unread
  std::uint64_t maxDocumentBytes = 64ULL * 1024 * 1024;  // largest unpacked document accepted
};

}  // namespace athup::filing_server
