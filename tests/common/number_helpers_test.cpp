#include "common/number_helpers.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace athup::common {
namespace {

TEST(isValidBan, WeightedDigitSumAndTheSeventhDigitRule) {
  const std::pair<const char*, bool> cases[] = {
      {"04595257", true},   // S = 40
      {"10458575", true},   // S = 30, 7th digit 7 but not needed
      {"10458574", true},   // S = 29, valid only because the 7th digit is 7
      {"10000078", true},   // S = 19, the same rule
      {"10000008", false},  // S + 1 divisible by 10, but the 7th digit is not 7
      {"59000007", false},  // plain products sum to 30; their digit sums give 21
      {"10458570", false},  {"0459525", false},  // seven characters
      {"045952570", false}, {"0459525A", false}, {" 4595257", false}, {"", false},
  };
  for (const auto& [ban, expected] : cases) EXPECT_EQ(isValidBan(ban), expected) << ban;
}

TEST(decodeSignedNumber, LastCharacterCarriesDigitAndSign) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"0001234}", -12340},
      {"0001234J", -12341},
      {"0001234A", 12341},
      {"00012345", 12345},
      {"{", 0},
      {"}", 0},
      {"7", 7},
      {"R", -9},
      {"0001234I", 12349},
      {"0001234R", -12349},
      {"0001234{", 12340},
      {"0001234Z", 0},
      {"0001234a", 0},
      {"", 0},
      {"922337203685477580G", INT64_MAX},
      {"922337203685477580P", -INT64_MAX},
  };
  for (const auto& [field, value] : cases) {
    const DecodedNumber decoded = decodeSignedNumber(field);
    EXPECT_EQ(decoded.value, value) << field;
    EXPECT_TRUE(decoded.warning.empty()) << field;
  }
}

TEST(decodeSignedNumber, AWholeNumberWithBlanksOrASignWarnsAndOtherCharactersRaise) {
  // Leading blanks and a sign still read as a whole number: the warning is the outcome, for the
  // caller to show; the value is the caller's to ignore.
  const std::pair<const char*, std::int64_t> warned[] = {
      {"  1234}", -12340}, {"-0012}", 120}, {"+0012}", -120}, {" -12A", -121}};
  for (const auto& [field, value] : warned) {
    const DecodedNumber decoded = decodeSignedNumber(field);
    EXPECT_EQ(decoded.warning, "檔案內數值欄位: " + std::string(field) +
                                   " ，含有非數值型態字元，請修正後再執行審核作業 !!");
    EXPECT_EQ(decoded.value, value) << field;
  }

  for (const char* field : {"12A4}", "12 4}", "   }", "1234 5", "922337203685477580H",
                            "99999999999999999999}", "-}", "+5", "--12}", "- 12}", "12-}"}) {
    try {
      (void)decodeSignedNumber(field);
      ADD_FAILURE() << "no error for " << field;
    } catch (const Error& error) {
      EXPECT_EQ(error.what(), "資料內含\"" + std::string(field) + "\":非數值資料型態！");
    }
  }
}

}  // namespace
}  // namespace athup::common
