#pragma once

#include <filesystem>
#include <string>

namespace athup::store {

// What the main data module reads from the program-wide values and the settings when it starts.
// The settings store itself lives above the store; its caller copies the values in.
struct DataModuleSettings {
  std::string proxyIp;                  // setting "proxy_ip", possibly empty
  std::string proxyPort;                // setting "proxy_port", possibly empty
  std::string athUpd;                   // setting "ath_upd" (upload server host), possibly empty
  std::filesystem::path dbPath;         // gDBPath: the database root folder
  std::filesystem::path exeDir;         // folder the program writes beside itself ("TMP" goes here)
  std::filesystem::path workingFolder;  // where stale engine lock files are removed
  std::string version;                  // gVersion, e.g. "105"
  std::string versionDate;              // gVersionDate
};

}  // namespace athup::store
