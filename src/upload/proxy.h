#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace athup::upload {

struct Proxy {
  std::string host;
  int port = 0;

  bool operator==(const Proxy&) const = default;
};

// A proxy list as the platform gives it: when it holds "https=", only the text after it up to
// the next ";" counts. The host is the text before the first ":", the port the number after it
// (0 when that is not a number). A blank list means no proxy.
[[nodiscard]] std::optional<Proxy> parseProxyList(std::string_view list);

// The proxy the settings name with "proxy_ip" and "proxy_port": only when both are non-empty;
// the port is the number formed by its leading digits (0 when none).
[[nodiscard]] std::optional<Proxy> proxyFromSettings(std::string_view ip, std::string_view port);

// The environment's proxy for HTTPS ("https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", the
// first set), with a leading "scheme://" and a trailing "/" removed, read by parseProxyList.
[[nodiscard]] std::optional<Proxy> proxyFromEnvironment();

// The hosts never sent through a proxy: loopback, and what "no_proxy"/"NO_PROXY" lists.
[[nodiscard]] std::string noProxyHosts();

}  // namespace athup::upload
