#include "app/version_check.h"

#include <charconv>

#include "common/errors.h"
#include "upload/endpoints.h"

namespace athup::app {
namespace {

constexpr std::string_view kDownloadPath = "/info_ORB_download.html?id=2";
constexpr const char* kConnectFailed = "連線失敗，請檢查網路連線或設定！";

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The text as a whole number, 0 when it is not one.
long long toNumber(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

// Up to `count` characters from `start` (0-based), clamped to the text.
std::string piece(std::string_view text, std::size_t start, std::size_t count) {
  if (start >= text.size()) return {};
  return std::string(text.substr(start, count));
}

std::string trimRight(std::string text) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
  return text;
}

}  // namespace

int getServerKind(std::string_view sslIp, const upload::ServerHosts& hosts) {
  if (!sslIp.empty() && equalsIgnoringCase(sslIp, hosts.productionReceipt)) return 1;
  if (!sslIp.empty() && equalsIgnoringCase(sslIp, hosts.verificationReceipt)) return 2;
  return 0;
}

VersionCheckAddresses versionCheckAddresses(int kind, const upload::ServerHosts& hosts) {
  const auto make = [](std::string_view filing, std::string_view information) {
    return VersionCheckAddresses{
        "https://" + std::string(filing) + std::string(upload::kClientVersionPath),
        "https://" + std::string(information) + std::string(kDownloadPath)};
  };
  if (kind == 1) return make(hosts.productionFiling, hosts.productionInformation);
  if (kind == 2) return make(hosts.verificationFiling, hosts.verificationInformation);
  return {};
}

std::string formatVersion(std::string_view version) {
  if (version.size() == 2) {
    const std::string minor = std::string(version.substr(1, 1));
    return std::string(version.substr(0, 1)) + "." + std::string(2 - minor.size(), '0') + minor;
  }
  if (version.size() == 3) {
    return std::string(version.substr(0, 1)) + "." + std::string(version.substr(1, 2));
  }
  return piece(version, 0, 2) + "." + piece(version, 2, 2);
}

OnlineVersion parseVersionAnswer(std::string_view reply) {
  OnlineVersion online;
  if (reply.find("404 Not Found") != std::string_view::npos) return online;
  // An absent marker reads from where a marker at position 0 would end (as the positions of a
  // 1-based search give), which normally yields no number.
  const auto p = reply.find("VERSION:");
  const auto q = reply.find("VERSION DATE:");
  const std::size_t versionAt = p == std::string_view::npos ? 7 : p + 8;
  const std::size_t dateAt = q == std::string_view::npos ? 12 : q + 13;
  std::string version = trimRight(piece(reply, versionAt, 4));
  std::erase(version, '.');
  online.gOnlineVersion = version;
  online.gOnlineVersionDate = trimRight(piece(reply, dateAt, 7));
  return online;
}

VersionCheckOutcome compareVersions(const std::string& localVersion, const std::string& localDate,
                                    const OnlineVersion& online, const std::string& downloadUrl) {
  VersionCheckOutcome outcome;
  const long long local = toNumber(localVersion);
  outcome.localLine =
      "目前使用版本：" + formatVersion(std::to_string(local)) + "，版本日期：" + localDate;
  outcome.onlineLine = "線上最新版本：" + formatVersion(online.gOnlineVersion) + "，版本日期：" +
                       online.gOnlineVersionDate;
  const long long onlineVersion = toNumber(online.gOnlineVersion);
  if (onlineVersion == 0) {
    outcome.outcomeLine = kConnectFailed;
    return outcome;
  }
  outcome.answered = true;
  if (local >= onlineVersion && toNumber(localDate) >= toNumber(online.gOnlineVersionDate)) {
    return outcome;
  }
  outcome.updateNeeded = true;
  outcome.outcomeLine = local / 100 < onlineVersion / 100
                            ? "線上版本已更新，請重新下載完整申報程式。"
                            : "線上版本已更新，請儘快更新版本。";
  outcome.downloadUrl = downloadUrl;
  return outcome;
}

VersionCheckOutcome runVersionCheck(const VersionCheckRequest& request, Interaction& interaction) {
  const int kind = getServerKind(request.sslIp, request.hosts);
  VersionCheckAddresses addresses = versionCheckAddresses(kind, request.hosts);
  if (request.checkUrlOverride) addresses.checkUrl = *request.checkUrlOverride;
  const std::string localDate = request.localVersionDate.substr(0, 7);

  upload::TransportOptions options;
  options.caFile = request.caFile;
  if (!request.proxyIp.empty() && !request.proxyPort.empty()) {
    options.proxy = upload::proxyFromSettings(request.proxyIp, request.proxyPort);
  }
  upload::FormTransport transport(std::move(options));
  upload::FormReply reply;
  try {
    reply = transport.requestVersionInfo(addresses.checkUrl);
  } catch (const Error& error) {
    // An address of no known scheme (kind 0 gives an empty one): the message, and the window
    // keeps its first texts.
    interaction.showMessage(MessageKind::Error, error.what());
    return VersionCheckOutcome{};
  }
  for (const auto& message : reply.messages) interaction.showMessage(MessageKind::Plain, message);
  const std::string body = reply.body.value_or("");
  if (request.debugMode) interaction.showMessage(MessageKind::Plain, "Second Result Str=" + body);
  return compareVersions(request.localVersion, localDate, parseVersionAnswer(body),
                         addresses.downloadUrl);
}

}  // namespace athup::app
