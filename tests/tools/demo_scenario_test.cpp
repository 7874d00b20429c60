#include "demo_data/demo_scenario.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/big5.h"
#include "common/errors.h"
#include "demo_data/demo_data_writer.h"
#include "demo_data/filing_records.h"

namespace athup::demodata {
namespace {

// The business number check, written out here from its rule rather than taken from the code
// under test: weights 1 2 1 2 1 2 4 1, digit sums of the products, valid when the total is a
// multiple of 10, or when the 7th digit is 7 and the total + 1 is.
bool banPassesCheck(const std::string& ban) {
  if (ban.size() != 8) return false;
  const int weights[] = {1, 2, 1, 2, 1, 2, 4, 1};
  int total = 0;
  for (int i = 0; i < 8; ++i) {
    if (ban[i] < '0' || ban[i] > '9') return false;
    const int product = (ban[i] - '0') * weights[i];
    total += product / 10 + product % 10;
  }
  return total % 10 == 0 || (ban[6] == '7' && (total + 1) % 10 == 0);
}

TEST(DemoScenario, EverySeedGivesTheRolesAndWritableFiles) {
  for (const std::string period : {"11310", "10801", "11312"}) {
    for (std::uint64_t seed = 0; seed < 40; ++seed) {
      SCOPED_TRACE("period " + period + " seed " + std::to_string(seed));
      const Scenario scenario = buildScenario(seed, period);
      ASSERT_GE(scenario.taxpayers.size(), 5u);

      std::map<std::string, int> count;
      for (const ApplyerRow& row : scenario.applyers) {
        ++count[row.BAN];
        EXPECT_TRUE(banPassesCheck(row.BAN)) << row.BAN;
        EXPECT_LE(common::big5Width(row.BAN_NM_X30), 60u) << row.BAN_NM_X30;
        EXPECT_GT(common::big5Width(row.BAN_NM_X30), 0u);
      }
      int repeated = 0;
      for (const auto& [ban, n] : count) repeated += n == 2 ? 1 : (n > 2 ? 100 : 0);
      EXPECT_EQ(repeated, 1) << "exactly one BAN occurs twice in the master";
      EXPECT_EQ(count.size(), scenario.taxpayers.size());

      int notFiled = 0, mixedT02 = 0, allCustomsT02 = 0, withT08 = 0;
      bool negativeZero = false, negativeDigit = false, signedPositive = false;
      for (const TaxpayerFiling& filing : scenario.taxpayers) {
        notFiled += !filing.filed();
        int uncleared = 0;
        for (const T02Line& line : filing.t02) uncleared += line.PCTS_MODE == "1";
        if (!filing.t02.empty()) {
          mixedT02 += uncleared > 0 && uncleared < static_cast<int>(filing.t02.size());
          allCustomsT02 += uncleared == 0;
          EXPECT_EQ(filing.t02.size() > 0 && uncleared > 0, filing.t02.front().PCTS_MODE == "1");
        }
        withT08 += !filing.t08.empty();
        // widths of every value hold for every seed
        const std::string t08 = t08FileBytes(filing);
        EXPECT_EQ(t02FileBytes(filing).size(), filing.t02.size() * kT02RecordWidth);
        EXPECT_EQ(t08.size(), filing.t08.size() * kT08RecordWidth);
        EXPECT_EQ(tetFileBytes(filing).size(), filing.hasTet ? kTetRecordWidth : 0u);
        for (std::size_t at = 0; at < t08.size(); at += kT08RecordWidth) {
          const char sign = t08[at + 206 + 11];
          negativeZero |= sign == '}';
          negativeDigit |= sign >= 'J' && sign <= 'R';
          signedPositive |= sign == '{' || (sign >= 'A' && sign <= 'I');
        }
      }
      EXPECT_EQ(notFiled, 1);
      EXPECT_GE(mixedT02, 1);
      EXPECT_EQ(allCustomsT02, 1);
      EXPECT_GE(withT08, 2);
      EXPECT_TRUE(negativeZero && negativeDigit && signedPositive);
    }
  }
}

TEST(DemoScenario, PeriodsAndTheirFilingMonth) {
  EXPECT_EQ(buildScenario(1, "11312").gApplyYM, "11401");
  EXPECT_EQ(buildScenario(1, "10201").gApplyYM, "10202");
  for (const std::string bad : {"11313", "11300", "00010", "1131", "113100", "11a10", ""}) {
    EXPECT_THROW((void)buildScenario(1, bad), Error) << bad;
  }
}

}  // namespace
}  // namespace athup::demodata
