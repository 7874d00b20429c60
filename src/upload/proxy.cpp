#include "upload/proxy.h"

#include <cstdlib>

#include "common/text_helpers.h"

namespace athup::upload {
namespace {

int leadingNumber(std::string_view text, std::size_t maxDigits) {
  int value = 0;
  std::size_t digits = 0;
  for (const char c : text) {
    if (c < '0' || c > '9' || digits == maxDigits) break;
    value = value * 10 + (c - '0');
    ++digits;
  }
  return digits == 0 ? 0 : value;
}

const char* firstSet(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

}  // namespace

std::optional<Proxy> parseProxyList(std::string_view list) {
  if (common::trimBlanks(list).empty()) return std::nullopt;
  if (const auto at = list.find("https="); at != std::string_view::npos) {
    list = list.substr(at + 6);
    list = list.substr(0, list.find(';'));
  }
  if (common::trimBlanks(list).empty()) return std::nullopt;
  Proxy proxy;
  const auto colon = list.find(':');
  proxy.host = std::string(list.substr(0, colon));
  if (colon != std::string_view::npos) {
    const std::string_view port = list.substr(colon + 1);
    // A port that is not a number counts as 0 (10 digits cannot overflow the check below).
    proxy.port =
        !port.empty() && port.size() <= 9 && common::isAllDigits(port) ? leadingNumber(port, 9) : 0;
  }
  return proxy;
}

std::optional<Proxy> proxyFromSettings(std::string_view ip, std::string_view port) {
  if (ip.empty() || port.empty()) return std::nullopt;
  return Proxy{std::string(ip), leadingNumber(port, 8)};
}

std::optional<Proxy> proxyFromEnvironment() {
  const char* value = firstSet({"https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"});
  if (value == nullptr) return std::nullopt;
  std::string_view text = value;
  if (const auto scheme = text.find("://"); scheme != std::string_view::npos) {
    text = text.substr(scheme + 3);
  }
  while (!text.empty() && text.back() == '/') text.remove_suffix(1);
  return parseProxyList(text);
}

std::string noProxyHosts() {
  std::string hosts = "127.0.0.1,localhost,::1";
  if (const char* extra = firstSet({"no_proxy", "NO_PROXY"})) hosts += std::string(",") + extra;
  return hosts;
}

}  // namespace athup::upload
