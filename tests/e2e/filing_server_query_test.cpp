#include <gtest/gtest.h>

#include "filing_server/test_card_signature.h"
#include "filing_server_fixture.h"
#include "security/codecs/base64.h"
#include "security/codecs/form_escape.h"

namespace athup::testing {
namespace {

using filing_server::testCardSign;
using security::base64Line;

TEST_F(FilingServerTest, VersionPageAnswersGetAndBodilessPost) {
  const HttpsReply get = m_client->get(url("/orbatt/ClientVersion.jsp"));
  EXPECT_EQ(get.body, "VERSION:1.05\r\nVERSION DATE:1080315\r\n");
  const HttpsReply post = m_client->postForm(url("/orbatt/ClientVersion.jsp"), "");
  EXPECT_EQ(post.body, get.body);
}

TEST_F(FilingServerTest, GoodRequestGetsASerialAndAResultFileWithAnEmptyHistory) {
  const HttpsReply reply = goodQuery();
  ASSERT_EQ(reply.code, CURLE_OK);
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body.rfind("<?xml", 0), 0U);
  EXPECT_EQ(elementText(reply.body, "Code"), "0");
  EXPECT_EQ(elementText(reply.body, "Msg"), "作業成功");
  EXPECT_EQ(elementText(reply.body, "Date").size(), 14U);
  const std::string serial = dataValue(reply.body, "updserial");
  EXPECT_EQ(serial.size(), 14U);

  const auto lines = decodeList(dataValue(reply.body, "list"));
  ASSERT_EQ(lines.size(), 1U);
  const std::string& header = lines[0];
  ASSERT_EQ(header.size(), 60U);
  EXPECT_EQ(header.substr(0, 6), "ORB000");
  EXPECT_EQ(header.substr(6, 8), kBan);
  EXPECT_EQ(header.substr(14, 3), "005");  // daily maximum
  EXPECT_EQ(header.substr(17, 5), kYearMon);
  EXPECT_EQ(header.substr(22, 3), "000");  // uploads counted
  EXPECT_EQ(header[25], '1');              // nothing received yet
  EXPECT_EQ(header.substr(50, 3), "YYY");  // serial, T02 and T08 checks pass

  // Every request gets a serial of its own.
  EXPECT_NE(issueSerial(), serial);
}

TEST_F(FilingServerTest, RequestsWithBadCredentialsAreRefused) {
  const std::string seal = base64Line(requestSealText(kBan, kYearMon));
  struct Case {
    const char* what;
    std::string body;
    const char* code;
    const char* msg;
  };
  const Case cases[] = {
      {"wrong password", queryBody(kBan, "1", "wrong999", seal), "E03", "帳號或密碼錯誤"},
      {"empty password", queryBody(kBan, "1", "", seal), "E03", "帳號或密碼錯誤"},
      {"default password for a listed account",
       queryBody("87654321", "1", kPassword, base64Line(requestSealText("87654321", kYearMon))),
       "E03", "帳號或密碼錯誤"},
      {"seal made for another taxpayer",
       queryBody(kBan, "1", kPassword, base64Line(requestSealText("11111111", kYearMon))), "E04",
       "簽章驗證失敗"},
      {"seal made for another period",
       queryBody(kBan, "1", kPassword, base64Line(requestSealText(kBan, "11303"))), "E04",
       "簽章驗證失敗"},
      {"seal with five values",
       queryBody(kBan, "1", kPassword,
                 base64Line("20240501093015," + kBan + "," + kYearMon + ",A,B")),
       "E04", "簽章驗證失敗"},
      {"no seal", queryBody(kBan, "1", kPassword, ""), "E04", "簽章驗證失敗"},
      {"type 2 seal that is only base64", queryBody(kBan, "2", "", security::escapeFormValue(seal)),
       "E04", "簽章驗證失敗"},
      {"certificate type 3", queryBody(kBan, "3", "", seal), "E02", "憑證種類錯誤"},
      {"BAN of seven digits", queryBody("1234567", "1", kPassword, seal), "E01", "統一編號錯誤"},
      {"empty body", "", "E01", "統一編號錯誤"},
  };
  for (const auto& c : cases) {
    const HttpsReply reply = query(c.body);
    EXPECT_EQ(reply.status, 200) << c.what;
    EXPECT_EQ(elementText(reply.body, "Code"), c.code) << c.what;
    EXPECT_EQ(elementText(reply.body, "Msg"), c.msg) << c.what;
    EXPECT_EQ(dataCount(reply.body), 0) << c.what;
  }
}

TEST_F(FilingServerTest, ConfiguredAccountUsesItsOwnPassword) {
  const HttpsReply reply = query(
      queryBody("87654321", "1", "other999", base64Line(requestSealText("87654321", kYearMon))));
  EXPECT_EQ(elementText(reply.body, "Code"), "0");
}

TEST_F(FilingServerTest, TestCardSealIsAcceptedEscapedAndRefusedWhenTampered) {
  const std::string text = requestSealText(kBan, kYearMon);
  const std::string signature = testCardSign(text);
  // The signature is line-broken base64, so the request escapes it.
  ASSERT_NE(signature.find("\r\n"), std::string::npos);
  const HttpsReply good = query(queryBody(kBan, "2", "", security::escapeFormValue(signature)));
  EXPECT_EQ(elementText(good.body, "Code"), "0");

  // The signature carries its text: the server reads the BAN back out of it.
  std::string other = testCardSign(requestSealText("11111111", kYearMon));
  EXPECT_EQ(
      elementText(query(queryBody(kBan, "2", "", security::escapeFormValue(other))).body, "Code"),
      "E04");

  // One changed character of the signed text breaks the HMAC.
  std::string content = security::base64DecodeText(signature);
  content[0] = content[0] == '2' ? '3' : '2';
  const std::string tampered = security::base64EncodeText(content);
  EXPECT_EQ(elementText(query(queryBody(kBan, "2", "", security::escapeFormValue(tampered))).body,
                        "Code"),
            "E04");
}

TEST(TestCardSignature, RoundTripsAndRejectsShortOrForeignInput) {
  const std::string text = "20240501093015,12345678,11304,,,";
  EXPECT_EQ(filing_server::testCardSignedText(testCardSign(text)), text);
  EXPECT_EQ(filing_server::testCardSignedText(testCardSign("")), "");
  EXPECT_FALSE(filing_server::testCardSignedText("c2hvcnQ="));
  EXPECT_FALSE(
      filing_server::testCardSignedText(security::base64EncodeText(text + std::string(32, 'x'))));
}

}  // namespace
}  // namespace athup::testing
