#include <gtest/gtest.h>

#include <set>

#include "security/certificates/account_password.h"
#include "security/certificates/card_error_table.h"
#include "security/certificates/test_card_client.h"
#include "security/codecs/base64.h"

namespace athup::security {
namespace {

TEST(CardErrorTable, EntriesAndQuotedTexts) {
  const auto table = cardErrorTable();
  ASSERT_EQ(table.size(), 147U);
  std::set<std::string_view> codes;
  for (const auto entry : table) codes.insert(entry.substr(0, entry.find('=')));
  EXPECT_EQ(codes.size(), 147U);
  EXPECT_EQ(table.front(), "56=PIN 錯誤");
  EXPECT_EQ(table.back().substr(0, 9), "E6001013=");
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0x63C1, "PIN 碼驗證錯誤剩 1 機會"},
      {0xFFFF, "使用者取消"},
      {0x8010002E, "找不到智慧卡讀取裝置"},
      {0x8010006E, "未讀取到 IC 卡"},
      {0x6983, "PIN 碼已鎖死"},
      {0xE6000024, "智慧卡 PIN 碼驗證錯誤"},
      {0xE6000029, "PIN 碼長度為 0"},
      {0x86103002, "簽章錯誤"},
      {0, ""},
      {0x12345678, ""},
  };
  for (const auto& [status, text] : cases) EXPECT_EQ(cardErrorText(status), text) << status;
}

TEST(CardErrorTable, TheLastEntryHoldingTheCodeWins) {
  // "56" occurs in its own entry and inside none later; "A2" only in its own; "1" occurs in many
  // entries, the last of them "E6001013".
  EXPECT_EQ(cardErrorText(0x56), "PIN 錯誤");
  const auto table = cardErrorTable();
  std::string last;
  for (const auto entry : table) {
    if (entry.find("30") != std::string_view::npos)
      last = std::string(entry.substr(entry.find('=') + 1));
  }
  EXPECT_EQ(cardErrorText(0x30), last);
  EXPECT_NE(cardErrorText(0x30), cardErrorText(0x8301));  // 8301 holds "30" but is not the last
  EXPECT_EQ(cardStatusHex(0x63C1), "63C1");
  EXPECT_EQ(cardStatusHex(0), "0");
}

TEST(AccountPassword, LengthAndCharacters) {
  const std::pair<const char*, bool> cases[] = {
      {"abc", false},  {"abcd", true},      {"Ab34567890", true}, {"Ab345678901", false},
      {"ab&d", false}, {"ab=d", false},     {"ab+d", false},      {"ab d", false},
      {"", false},     {"密碼密碼", false},
  };
  for (const auto& [password, valid] : cases) {
    EXPECT_EQ(isValidAccountPassword(password), valid) << password;
  }
}

TEST(TestCard, SignsWithTheRightPinAndCountsDownWrongOnes) {
  TestCardClient card;
  const CardSignature good = card.sign("text", "123456");
  EXPECT_EQ(good.status, 0U);
  const std::string content = base64DecodeText(good.signedText);
  EXPECT_EQ(content.substr(0, 4), "text");
  EXPECT_EQ(content.size(), 4U + 32U);
  EXPECT_EQ(card.sign("text", "1111").status, 0x63C2U);
  EXPECT_EQ(card.sign("text", "1111").status, 0x63C1U);
  EXPECT_EQ(card.sign("text", "123456").status, 0x6983U);  // locked
  EXPECT_EQ(TestCardClient().sign("text", "").status, 0xE6000029U);
  EXPECT_EQ(NoCardClient().sign("text", "123456").status, kCardStatusNoReader);
}

}  // namespace
}  // namespace athup::security
