#pragma once

#include <string_view>

// Whether the workstation has a network connection at all, for the version check's "not online"
// message. It does not reach any server.
namespace athup::common {

// True when a network interface other than loopback is up and running with an IPv4 or IPv6
// address (link-local IPv6 addresses alone do not count), or when the routing table has a
// default route.
[[nodiscard]] bool isInternetOnline();

// Whether a routing table in the layout of Linux's /proc/net/route (a title line, then one route
// per line with hexadecimal destination and mask in the second and eighth columns) holds a
// default route: destination and mask both zero.
[[nodiscard]] bool routeTableHasDefault(std::string_view table);

}  // namespace athup::common
