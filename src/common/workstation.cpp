#include "common/workstation.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "common/ascii.h"
#include "common/big5.h"

#ifdef _WIN32
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <unistd.h>
#endif

namespace athup::common {
namespace {

// Up to three leading dot-separated numbers of a kernel release such as "6.1.0-18-amd64".
std::array<std::uint32_t, 3> releaseNumbers(std::string_view release) {
  std::array<std::uint32_t, 3> numbers{0, 0, 0};
  std::size_t index = 0;
  std::size_t i = 0;
  while (index < numbers.size() && i < release.size() && isAsciiDigit(release[i])) {
    std::uint64_t value = 0;
    while (i < release.size() && isAsciiDigit(release[i])) {
      value = std::min<std::uint64_t>(value * 10 + static_cast<std::uint64_t>(release[i] - '0'),
                                      UINT32_MAX);
      ++i;
    }
    numbers[index++] = static_cast<std::uint32_t>(value);
    if (i >= release.size() || release[i] != '.') break;
    ++i;
  }
  return numbers;
}

bool isLoopback(const IPv4Bytes& address) {
  return address[0] == 127;
}

std::string hostName() {
#ifdef _WIN32
  char name[256] = {};
  DWORD size = sizeof name;
  if (!GetComputerNameExA(ComputerNameDnsHostname, name, &size)) return {};
  return name;
#else
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
#endif
}

// The addresses a name resolves to, in the order the resolver gives them.
template <typename Bytes>
std::vector<Bytes> resolve(const std::string& name, int family) {
  std::vector<Bytes> found;
  if (name.empty()) return found;
  addrinfo hints{};
  hints.ai_family = family;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* results = nullptr;
  if (getaddrinfo(name.c_str(), nullptr, &hints, &results) != 0) return found;
  for (const addrinfo* item = results; item != nullptr; item = item->ai_next) {
    Bytes bytes{};
    if (family == AF_INET6 && item->ai_family == AF_INET6) {
      const auto* v6 = reinterpret_cast<const sockaddr_in6*>(item->ai_addr);
      std::copy_n(reinterpret_cast<const std::uint8_t*>(&v6->sin6_addr), bytes.size(),
                  bytes.begin());
    } else if (family == AF_INET && item->ai_family == AF_INET) {
      const auto* v4 = reinterpret_cast<const sockaddr_in*>(item->ai_addr);
      std::copy_n(reinterpret_cast<const std::uint8_t*>(&v4->sin_addr), bytes.size(),
                  bytes.begin());
    } else {
      continue;
    }
    found.push_back(bytes);
  }
  freeaddrinfo(results);
  return found;
}

#ifndef _WIN32
void appendInterfaceAddresses(std::vector<IPv6Bytes>& v6, std::vector<IPv4Bytes>& v4) {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return;
  for (const ifaddrs* item = list; item != nullptr; item = item->ifa_next) {
    if (item->ifa_addr == nullptr || (item->ifa_flags & IFF_UP) == 0) continue;
    if (item->ifa_addr->sa_family == AF_INET6) {
      IPv6Bytes bytes{};
      const auto* address = reinterpret_cast<const sockaddr_in6*>(item->ifa_addr);
      std::copy_n(reinterpret_cast<const std::uint8_t*>(&address->sin6_addr), bytes.size(),
                  bytes.begin());
      v6.push_back(bytes);
    } else if (item->ifa_addr->sa_family == AF_INET) {
      IPv4Bytes bytes{};
      const auto* address = reinterpret_cast<const sockaddr_in*>(item->ifa_addr);
      std::copy_n(reinterpret_cast<const std::uint8_t*>(&address->sin_addr), bytes.size(),
                  bytes.begin());
      v4.push_back(bytes);
    }
  }
  freeifaddrs(list);
}
#endif

}  // namespace

std::string formatOSVersionText(int platform, std::uint32_t major, std::uint32_t minor,
                                std::uint32_t build) {
  std::string suffix = "." + std::to_string(build);
  if (platform == kPlatformWin9x && major == 4) {
    // Windows 95, 98 and Me report their build with the version in its high word.
    if (minor == 0) suffix = ".950";
    if (minor == 10 && build == 67766222) suffix = ".1998";
    if (minor == 10 && build == 67766446) suffix = ".2222";
    if (minor == 90 && build == 73010104) suffix = ".3000";
  }
  return std::to_string(platform) + "-" + std::to_string(major) + "." + std::to_string(minor) +
         suffix;
}

std::string osVersionText() {
#ifdef _WIN32
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma warning(suppress : 4996)
  if (!GetVersionExW(&info)) return {};
  return formatOSVersionText(static_cast<int>(info.dwPlatformId), info.dwMajorVersion,
                             info.dwMinorVersion, info.dwBuildNumber);
#else
  utsname name{};
  if (uname(&name) != 0) return formatOSVersionText(kPlatformNT, 0, 0, 0);
  const auto numbers = releaseNumbers(name.release);
  return formatOSVersionText(kPlatformNT, numbers[0], numbers[1], numbers[2]);
#endif
}

std::string formatIPv6(const IPv6Bytes& address) {
  std::string text;
  text.reserve(39);
  for (std::size_t group = 0; group < 8; ++group) {
    char piece[8];
    std::snprintf(piece, sizeof piece, "%s%02X%02X", group == 0 ? "" : ":", address[group * 2],
                  address[group * 2 + 1]);
    text += piece;
  }
  return text;
}

std::string formatIPv4(const IPv4Bytes& address) {
  char text[48];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
  return text;
}

std::string chooseGlobalIPv6(const std::vector<IPv6Bytes>& addresses) {
  for (const auto& address : addresses) {
    const std::string text = formatIPv6(address);
    const std::string_view second = std::string_view(text).substr(5, 4);
    if (text.starts_with("2001:") && second != "0010" && second != "0DB8") return text;
  }
  return {};
}

std::string chooseLocalIPText(bool tryIPv6, const std::vector<IPv6Bytes>& v6,
                              const std::vector<IPv4Bytes>& v4) {
  if (tryIPv6) {
    std::string text = chooseGlobalIPv6(v6);
    if (!text.empty()) return text;
  }
  for (const auto& address : v4) {
    if (!isLoopback(address)) return formatIPv4(address);
  }
  return v4.empty() ? std::string() : formatIPv4(v4.front());
}

std::string localIpText() {
  const std::string name = hostName();
#ifdef _WIN32
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return {};
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma warning(suppress : 4996)
  const bool tryIPv6 =
      GetVersionExW(&info) && info.dwPlatformId == kPlatformNT && info.dwMajorVersion > 5;
  auto v6 = tryIPv6 ? resolve<IPv6Bytes>(name, AF_INET6) : std::vector<IPv6Bytes>{};
  auto v4 = resolve<IPv4Bytes>(name, AF_INET);
  WSACleanup();
#else
  const bool tryIPv6 = true;
  auto v6 = resolve<IPv6Bytes>(name, AF_INET6);
  auto v4 = resolve<IPv4Bytes>(name, AF_INET);
  appendInterfaceAddresses(v6, v4);
#endif
  return chooseLocalIPText(tryIPv6, v6, v4);
}

std::string netbiosName(std::string_view host) {
  std::string name(host.substr(0, host.find('.')));
  return cutToBig5Width(upperAscii(name), 15);
}

std::string computerNameText() {
#ifdef _WIN32
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  if (!GetComputerNameA(name, &size)) return {};
  return big5ToUtf8(std::string_view(name, size));
#else
  return netbiosName(hostName());
#endif
}

}  // namespace athup::common
