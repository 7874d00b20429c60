#include "common/workstation.h"

#include <gtest/gtest.h>

#include <regex>

#include "common/connectivity.h"

namespace athup::common {
namespace {

TEST(OSVersionText, SuffixTable) {
  struct Case {
    int platform;
    std::uint32_t major, minor, build;
    const char* text;
  };
  const Case cases[] = {
      {1, 4, 0, 67109814, "1-4.0.950"},     // Windows 95: any build
      {1, 4, 10, 67766222, "1-4.10.1998"},  // Windows 98
      {1, 4, 10, 67766446, "1-4.10.2222"},  // Windows 98 SE
      {1, 4, 10, 12345, "1-4.10.12345"},    // another build: as reported
      {1, 4, 90, 73010104, "1-4.90.3000"},  // Windows Me
      {1, 4, 90, 3000, "1-4.90.3000"},
      {2, 6, 1, 7601, "2-6.1.7601"},
      {2, 10, 0, 19045, "2-10.0.19045"},
      {2, 4, 0, 67766222, "2-4.0.67766222"},  // the NT family has no table entries
      {2, 4, 10, 67766222, "2-4.10.67766222"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatOSVersionText(c.platform, c.major, c.minor, c.build), c.text) << c.text;
  }
}

IPv6Bytes v6(std::initializer_list<std::uint16_t> groups) {
  IPv6Bytes bytes{};
  std::size_t i = 0;
  for (auto group : groups) {
    bytes[i++] = static_cast<std::uint8_t>(group >> 8);
    bytes[i++] = static_cast<std::uint8_t>(group & 0xFF);
  }
  return bytes;
}

TEST(LocalIPText, FormatsAndChoosesAddresses) {
  EXPECT_EQ(formatIPv6(v6({0x2001, 0xb28, 0xf23d, 0xf001, 0, 0, 0, 0xa})),
            "2001:0B28:F23D:F001:0000:0000:0000:000A");
  EXPECT_EQ(formatIPv6(v6({})).size(), 39u);
  EXPECT_EQ(formatIPv4({192, 168, 0, 10}), "192.168.0.10");

  const auto linkLocal = v6({0xfe80, 0, 0, 0, 0x1, 0x2, 0x3, 0x4});
  const auto global = v6({0x2001, 0xb28, 0, 0, 0, 0, 0, 0x1});
  const auto documentation = v6({0x2001, 0xdb8, 0, 0, 0, 0, 0, 0x1});
  const auto orchid = v6({0x2001, 0x10, 0, 0, 0, 0, 0, 0x1});
  const auto otherGlobal = v6({0x2400, 0xcb00, 0, 0, 0, 0, 0, 0x1});  // not under 2001:
  const auto secondGlobal = v6({0x2001, 0xb29, 0, 0, 0, 0, 0, 0x2});

  struct Case {
    bool tryIPv6;
    std::vector<IPv6Bytes> v6s;
    std::vector<IPv4Bytes> v4s;
    std::string expected;
  };
  const Case cases[] = {
      {true, {linkLocal, global}, {{10, 0, 0, 5}}, "2001:0B28:0000:0000:0000:0000:0000:0001"},
      {true, {global, secondGlobal}, {}, "2001:0B28:0000:0000:0000:0000:0000:0001"},
      {true, {documentation, orchid}, {{10, 0, 0, 5}}, "10.0.0.5"},
      {true, {otherGlobal}, {{10, 0, 0, 5}}, "10.0.0.5"},
      {false, {global}, {{10, 0, 0, 5}}, "10.0.0.5"},  // IPv6 not tried
      {true, {}, {{127, 0, 1, 1}, {192, 168, 1, 20}}, "192.168.1.20"},
      {true, {}, {{127, 0, 0, 1}}, "127.0.0.1"},
      {true, {linkLocal}, {}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(chooseLocalIPText(c.tryIPv6, c.v6s, c.v4s), c.expected) << c.expected;
  }
}

TEST(ComputerName, IsTheNetbiosForm) {
  EXPECT_EQ(netbiosName("build-host.example.org"), "BUILD-HOST");
  EXPECT_EQ(netbiosName("averyveryverylonghostname"), "AVERYVERYVERYLO");
  EXPECT_EQ(netbiosName(""), "");
}

TEST(Workstation, SystemTextsHaveTheirShapes) {
  EXPECT_TRUE(std::regex_match(osVersionText(), std::regex(R"(2-\d+\.\d+\.\d+)")))
      << osVersionText();
  const std::string ip = localIpText();
  EXPECT_TRUE(ip.empty() || std::regex_match(ip, std::regex(R"(\d{1,3}(\.\d{1,3}){3})")) ||
              std::regex_match(ip, std::regex(R"(2001(:[0-9A-F]{4}){7})")))
      << ip;
  const std::string name = computerNameText();
  EXPECT_LE(name.size(), 15u);
  EXPECT_EQ(name, netbiosName(name));
}

TEST(Connectivity, FindsTheDefaultRoute) {
  const std::string title =
      "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
  EXPECT_TRUE(routeTableHasDefault(title +
                                   "eth0\t0011A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
                                   "eth0\t00000000\t0111A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"));
  EXPECT_FALSE(
      routeTableHasDefault(title + "eth0\t0011A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"));
  EXPECT_FALSE(routeTableHasDefault(title));
  // The title line alone never counts, even if it happened to read like a route.
  EXPECT_FALSE(routeTableHasDefault("x 00000000 0 0 0 0 0 00000000\n"));
}

}  // namespace
}  // namespace athup::common
