#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/interaction.h"
#include "upload/form_transport.h"
#include "upload/server_hosts.h"

namespace athup::app {

// Which filing server the receipt host "ssl_ip" belongs to: 1 production, 2 verification,
// 0 neither (also empty). Compared without regard to letter case.
[[nodiscard]] int getServerKind(std::string_view sslIp,
                                const upload::ServerHosts& hosts = upload::kServerHosts);

struct VersionCheckAddresses {
  std::string checkUrl;     // the version page; empty for kind 0
  std::string downloadUrl;  // the download page; empty for kind 0
};
[[nodiscard]] VersionCheckAddresses versionCheckAddresses(
    int kind, const upload::ServerHosts& hosts = upload::kServerHosts);

// A version in hundredths for display: "95" -> "9.05", "105" -> "1.05", "1234" -> "12.34".
[[nodiscard]] std::string formatVersion(std::string_view version);

struct OnlineVersion {
  std::string gOnlineVersion;      // hundredths, digits ("105")
  std::string gOnlineVersionDate;  // ROC YYYMMDD
};
// Reads "VERSION:" + 4 characters and "VERSION DATE:" + 7 characters out of the reply; a reply
// with "404 Not Found" gives nothing.
[[nodiscard]] OnlineVersion parseVersionAnswer(std::string_view reply);

// The window's texts after a check.
struct VersionCheckOutcome {
  std::string localLine = "目前使用版本：";
  std::string onlineLine = "線上最新版本：";
  std::string outcomeLine = "目前已使用最新版本無需更新。";
  std::string downloadUrl;  // shown (and clickable) only when an update is needed
  bool answered = false;    // a version arrived from the server
  bool updateNeeded = false;
};

struct VersionCheckRequest {
  std::string localVersion;      // gVersion
  std::string localVersionDate;  // gVersionDate (its first 7 characters are the date)
  std::string sslIp;             // settings "ssl_ip"
  std::string proxyIp;           // settings "proxy_ip"
  std::string proxyPort;         // settings "proxy_port"
  std::string caFile;            // settings "ca_file"
  bool debugMode = false;        // gDebugMode
  std::optional<std::string> checkUrlOverride;  // an address given instead of the server kind's
  upload::ServerHosts hosts = upload::kServerHosts;
};

// The whole check: asks the version page, shows every failure and, in debug mode, the raw reply
// through `interaction`, and gives the texts the window shows.
[[nodiscard]] VersionCheckOutcome runVersionCheck(const VersionCheckRequest& request,
                                                  Interaction& interaction);

// Compares the local values with the online ones (both texts, non-numbers count 0).
[[nodiscard]] VersionCheckOutcome compareVersions(const std::string& localVersion,
                                                  const std::string& localDate,
                                                  const OnlineVersion& online,
                                                  const std::string& downloadUrl);

}  // namespace athup::app
