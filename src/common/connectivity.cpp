#include "common/connectivity.h"

#ifdef _WIN32
#include <windows.h>
#include <wininet.h>
#else
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <fstream>
#endif

#include <sstream>
#include <string>

namespace athup::common {
namespace {

#ifndef _WIN32
bool isLinkLocalV6(const sockaddr* address) {
  const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
  return v6->sin6_addr.s6_addr[0] == 0xFE && (v6->sin6_addr.s6_addr[1] & 0xC0) == 0x80;
}

bool hasUsableInterface() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  bool found = false;
  for (const ifaddrs* item = list; item != nullptr && !found; item = item->ifa_next) {
    if (item->ifa_addr == nullptr) continue;
    const unsigned flags = item->ifa_flags;
    if ((flags & IFF_UP) == 0 || (flags & IFF_RUNNING) == 0 || (flags & IFF_LOOPBACK) != 0)
      continue;
    const int family = item->ifa_addr->sa_family;
    if (family == AF_INET) found = true;
    if (family == AF_INET6 && !isLinkLocalV6(item->ifa_addr)) found = true;
  }
  freeifaddrs(list);
  return found;
}

bool hasDefaultRoute() {
  std::ifstream routes("/proc/net/route");
  const std::string table((std::istreambuf_iterator<char>(routes)),
                          std::istreambuf_iterator<char>());
  return routeTableHasDefault(table);
}
#endif

}  // namespace

bool routeTableHasDefault(std::string_view table) {
  std::istringstream lines{std::string(table)};
  std::string line;
  std::getline(lines, line);  // column titles
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string interfaceName, destination, gateway, flags, refCount, use, metric, mask;
    if (!(fields >> interfaceName >> destination >> gateway >> flags >> refCount >> use >> metric >>
          mask)) {
      continue;
    }
    if (destination == "00000000" && mask == "00000000") return true;
  }
  return false;
}

bool isInternetOnline() {
#ifdef _WIN32
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) != FALSE;
#else
  return hasUsableInterface() || hasDefaultRoute();
#endif
}

}  // namespace athup::common
