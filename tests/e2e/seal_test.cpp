#include <gtest/gtest.h>

#include "filing_server/test_card_signature.h"
#include "filing_server_fixture.h"
#include "security/certificates/test_card_client.h"
#include "security/codecs/form_escape.h"
#include "upload/form_transport.h"
#include "upload/response_document.h"

namespace athup::testing {
namespace {

TEST(TestCardSeal, SignsExactlyLikeTheSimulatorsCard) {
  for (const std::string& text : {std::string("20240501093015,12345678,11304,A1,1A,4D"),
                                  std::string(300, 'z'), std::string()}) {
    EXPECT_EQ(security::TestCardClient::signature(text), filing_server::testCardSign(text));
  }
  EXPECT_EQ(security::TestCardClient::kTestCardPin, filing_server::kTestCardPin);
}

TEST_F(FilingServerTest, TypeTwoQueryWithTheTestCardIsAccepted) {
  security::TestCardClient card;
  const auto signature = card.sign(requestSealText(kBan, kYearMon), "123456");
  ASSERT_EQ(signature.status, 0U);
  upload::FormTransport transport({m_dir / "ca.pem", std::nullopt});
  const auto reply = transport.postFormRequest(
      url("/orbatt/orbAttachQuery"),
      queryBody(kBan, "2", "", security::escapeFormValue(signature.signedText)));
  ASSERT_TRUE(reply.body);
  EXPECT_EQ(upload::ResponseDocument::parse(*reply.body).code(), "0");
}

}  // namespace
}  // namespace athup::testing
