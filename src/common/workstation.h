#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Texts that describe the workstation: the operating-system text (also deciding where the shared
// documents folder lies) and the local address text, both sent with upload and query requests,
// and the computer name.
namespace athup::common {

// Platform numbers of the operating-system text.
inline constexpr int kPlatformWin9x = 1;
inline constexpr int kPlatformNT = 2;

// platform + "-" + major + "." + minor + a suffix: ".950", ".1998", ".2222" or ".3000" for the
// Windows 9x versions whose reported build numbers need it, otherwise "." + build.
// formatOSVersionText(2, 6, 1, 7601) is "2-6.1.7601".
[[nodiscard]] std::string formatOSVersionText(int platform, std::uint32_t major,
                                              std::uint32_t minor, std::uint32_t build);

// The operating-system text of this workstation, read afresh on every call. Windows reports its
// own platform and version numbers. Other systems report as the NT family (2) with the kernel's
// release numbers from uname, so Linux 6.1.55 gives "2-6.1.55".
[[nodiscard]] std::string osVersionText();

using IPv6Bytes = std::array<std::uint8_t, 16>;
using IPv4Bytes = std::array<std::uint8_t, 4>;

// Eight groups of four upper-case hexadecimal digits separated by ':', no zero compression
// (39 characters).
[[nodiscard]] std::string formatIPv6(const IPv6Bytes& address);

// "%d.%d.%d.%d".
[[nodiscard]] std::string formatIPv4(const IPv4Bytes& address);

// The first address whose first group is 2001 and whose second group is neither 0010 (ORCHID)
// nor 0DB8 (documentation), formatted; empty when there is none.
[[nodiscard]] std::string chooseGlobalIPv6(const std::vector<IPv6Bytes>& addresses);

// The local address text from resolved addresses: the IPv6 choice when `tryIPv6` and it finds
// one, else the first IPv4 address outside 127.0.0.0/8, else the first IPv4 address, else empty.
[[nodiscard]] std::string chooseLocalIPText(bool tryIPv6, const std::vector<IPv6Bytes>& v6,
                                            const std::vector<IPv4Bytes>& v4);

// The local address text: the computer name resolved for IPv6 (tried on every system that has
// IPv6, which on Windows means NT 6 and later) and for IPv4. Windows answers that lookup with the
// addresses of all its interfaces; elsewhere the addresses of the running network interfaces follow
// those of the lookup, so a hosts file that maps the name to loopback (as stock Linux ones do)
// still yields the real address. The full host name is resolved, not its 15-character NetBIOS
// form, which may not resolve. Empty without network.
[[nodiscard]] std::string localIpText();

// The computer name as a NetBIOS name: the host name up to its first '.', upper-cased, at most 15
// characters.
[[nodiscard]] std::string computerNameText();

// The NetBIOS form of a host name, as computerNameText gives it.
[[nodiscard]] std::string netbiosName(std::string_view hostName);

}  // namespace athup::common
