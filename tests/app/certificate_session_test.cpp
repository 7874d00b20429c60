#include "app/certificate_session.h"

#include <gtest/gtest.h>

#include <map>

#include "security/certificates/test_card_client.h"
#include "security/codecs/base64.h"
#include "security/codecs/form_escape.h"
#include "support/scripted_interaction.h"

namespace athup::app {
namespace {

class MemorySettings final : public SettingsStore {
 public:
  std::string readString(std::string_view key, std::string_view name) const override {
    const auto it = values.find(std::string(key) + "|" + std::string(name));
    return it == values.end() ? std::string() : it->second;
  }
  void writeString(std::string_view key, std::string_view name, std::string_view value) override {
    values[std::string(key) + "|" + std::string(name)] = std::string(value);
  }
  void deleteSubKey(std::string_view) override {}
  bool keyExists(std::string_view) const override { return true; }
  std::map<std::string, std::string> values;
};

// A card that answers with queued statuses, then signs.
class QueuedCard final : public security::CardClient {
 public:
  security::CardCertificate readCertificate() override { return {certificateStatus, identity}; }
  security::CardSignature sign(std::string_view text, std::string_view pin) override {
    pins.emplace_back(pin);
    if (!statuses.empty()) {
      const auto status = statuses.front();
      statuses.erase(statuses.begin());
      return {status, {}};
    }
    return {0, "SIG+/=" + std::string(text)};
  }
  std::vector<std::uint32_t> statuses;
  std::vector<std::string> pins;
  std::uint32_t certificateStatus = 0;
  std::string identity = "card";
};

struct Fixture {
  testing::ScriptedInteraction interaction;
  QueuedCard card;
  MemorySettings settings;
  int registrations = 0;
  CertificateSession session{interaction, card, settings, [this]() -> std::optional<std::string> {
                               ++registrations;
                               return std::string("DsWarpper.dll 找不到");
                             }};
};

TEST(CertificateSession, TypeOneSealIsTheOneLineBase64AfterAValidPassword) {
  Fixture f;
  f.interaction.items = {0};
  f.session.chooseCertType();
  EXPECT_EQ(f.session.certType(), "1");
  ASSERT_EQ(f.interaction.shown.size(), 1U);
  EXPECT_EQ(f.interaction.shown[0].text, "選擇憑證種類|帳號密碼|工商憑證");  // no third entry

  f.interaction.choices = {"abc", "ab&cd", "good1234"};
  const std::string text(100, 'x');
  const auto seal = f.session.makeSeal(text, "12345678");
  ASSERT_TRUE(seal);
  EXPECT_EQ(*seal, security::base64Line(text));
  EXPECT_EQ(seal->find('\n'), std::string::npos);
  EXPECT_EQ(f.session.certPassword(), "good1234");
  EXPECT_EQ(f.interaction.messages(),
            (std::vector<std::string>(2, "密碼應為長度4~10位之英數字，請重新輸入！")));

  f.interaction.choices = {std::nullopt};  // cancel: stop without a message
  EXPECT_FALSE(f.session.makeSeal(text, "12345678"));
  EXPECT_EQ(f.interaction.messages().size(), 2U);
}

TEST(CertificateSession, TypeTwoSealIsEscapedOnlyInTheFormRequest) {
  Fixture f;
  f.interaction.items = {1};
  f.session.chooseCertType();
  ASSERT_EQ(f.session.certType(), "2");
  f.interaction.choices = {"123456"};
  const auto query = f.session.makeSeal("t", "12345678");
  ASSERT_TRUE(query);
  EXPECT_EQ(*query, security::escapeFormValue("SIG+/=t"));
  EXPECT_NE(*query, "SIG+/=t");
  const auto upload = f.session.makeUploadSeal("u");
  ASSERT_TRUE(upload);
  EXPECT_EQ(*upload, "SIG+/=u");
  EXPECT_EQ(f.card.pins, (std::vector<std::string>{"123456", "123456"}));  // the PIN is reused
}

TEST(CertificateSession, PinLoopShowsTheCardErrorThenCancelEndsEmpty) {
  Fixture f;
  f.session.setCertType("2");
  f.card.statuses = {0x63C1};
  f.interaction.choices = {"000000", std::nullopt};
  EXPECT_EQ(f.session.signWithPinDialog("t"), "");
  EXPECT_TRUE(f.session.pinCancelled());
  EXPECT_EQ(f.session.cardStatus(), 0xFFFFU);
  EXPECT_EQ(f.interaction.messages(), std::vector<std::string>{"[63C1]PIN 碼驗證錯誤剩 1 機會"});
  EXPECT_EQ(f.interaction.shown[1].caption, "憑證錯誤");
}

TEST(CertificateSession, RegistrationIsTriedOnceAndAMissingCardIsReported) {
  Fixture f;
  f.card.identity.clear();
  f.card.certificateStatus = security::kCardStatusNoReader;
  EXPECT_EQ(f.session.checkCardCertificate(), "");
  EXPECT_EQ(f.session.checkCardCertificate(), "");
  EXPECT_EQ(f.registrations, 1);
  EXPECT_EQ(f.settings.readString(kOrbKey, "CheckTWCACom"), "Yes");
  EXPECT_EQ(f.interaction.messages(),
            (std::vector<std::string>{"註冊元件錯誤: DsWarpper.dll 找不到",
                                      "工商憑證驗證時,發生錯誤 : 8010002E找不到智慧卡讀取裝置",
                                      "工商憑證驗證時,發生錯誤 : 8010002E找不到智慧卡讀取裝置"}));
}

}  // namespace
}  // namespace athup::app
