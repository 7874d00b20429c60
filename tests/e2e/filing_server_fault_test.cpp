#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "filing_server_fixture.h"
#include "security/codecs/base64.h"

namespace athup::testing {
namespace {

std::string headerOf(const HttpsReply& reply) {
  return decodeList(dataValue(reply.body, "list")).at(0);
}

TEST_F(FilingServerTest, EachFaultSwitchShowsItsEffect) {
  struct Case {
    const char* fault;
    std::string value;
    std::function<void()> check;
  };
  const std::string versionPath = "/orbatt/ClientVersion.jsp";
  const Case cases[] = {
      {"refuse", "E12:今日暫停受理",
       [&] {
         const HttpsReply r = goodQuery();
         EXPECT_EQ(elementText(r.body, "Code"), "E12");
         EXPECT_EQ(elementText(r.body, "Msg"), "今日暫停受理");
       }},
      {"html-page", "",
       [&] {
         const HttpsReply r = goodQuery();
         EXPECT_EQ(r.status, 503);
         EXPECT_NE(r.body.find("<html>"), std::string::npos);
         EXPECT_NE(r.body.find("<title>"), std::string::npos);
       }},
      {"daily-maximum", "",
       [&] { EXPECT_EQ(headerOf(goodQuery()).substr(14, 11), "005" + kYearMon + "005"); }},
      {"serial-check-n", "", [&] { EXPECT_EQ(headerOf(goodQuery()).substr(50, 3), "NYY"); }},
      {"t02-check-n", "", [&] { EXPECT_EQ(headerOf(goodQuery()).substr(50, 3), "YNY"); }},
      {"t08-check-n", "", [&] { EXPECT_EQ(headerOf(goodQuery()).substr(50, 3), "YYN"); }},
      {"status-6", "", [&] { EXPECT_EQ(headerOf(goodQuery())[25], '6'); }},
      {"status-2-unequal", "",
       [&] {
         const std::string header = headerOf(goodQuery());
         EXPECT_EQ(header[25], '2');
         EXPECT_NE(header.substr(54, 3), header.substr(57, 3));
       }},
      {"slow", "150",
       [&] {
         const auto start = std::chrono::steady_clock::now();
         EXPECT_EQ(m_client->get(url(versionPath)).code, CURLE_OK);
         EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
       }},
      {"malformed-xml", "",
       [&] {
         const HttpsReply r = goodQuery();
         EXPECT_EQ(r.body.rfind("<?xml", 0), 0U);
         EXPECT_EQ(r.body.find("</TAX>"), std::string::npos);
       }},
      {"list-not-base64", "",
       [&] {
         const std::string list = dataValue(goodQuery().body, "list");
         EXPECT_NE(list.find_first_not_of(
                       "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
                   std::string::npos);
         EXPECT_THROW(decodeList(list), std::runtime_error);
       }},
      {"list-not-zlib", "",
       [&] {
         const std::string list = dataValue(goodQuery().body, "list");
         EXPECT_THROW(decodeList(list), std::runtime_error);
         EXPECT_EQ(security::base64DecodeText(list).rfind("ORB000" + kBan, 0), 0U);
       }},
      {"version-without-date", "",
       [&] {
         const std::string body = m_client->get(url(versionPath)).body;
         EXPECT_EQ(body, "VERSION:1.05\r\n");
       }},
      {"not-found", "",
       [&] {
         for (const HttpsReply& r : {m_client->get(url(versionPath)), goodQuery()}) {
           EXPECT_EQ(r.status, 404);
           EXPECT_NE(r.body.find("404 Not Found"), std::string::npos);
         }
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    setFault(c.fault, c.value);
    c.check();
    setFault("clear");
    // Cleared, the same endpoints answer normally again.
    EXPECT_EQ(elementText(goodQuery().body, "Code"), "0");
    EXPECT_EQ(m_client->get(url(versionPath)).body, "VERSION:1.05\r\nVERSION DATE:1080315\r\n");
  }
}

TEST_F(FilingServerTest, RefuseUploadWithSkipRefusesTheSecondFileOnly) {
  const std::string serial = issueSerial();
  setFault("refuse-upload", "E13:檔案拒收", 1);
  EXPECT_EQ(elementText(send(prepareUpload(serial, "a", "pdf", "first", 1, 3)).body, "Code"), "0");
  const HttpsReply second = send(prepareUpload(serial, "b", "pdf", "second", 2, 3));
  EXPECT_EQ(elementText(second.body, "Code"), "E13");
  EXPECT_EQ(elementText(second.body, "Msg"), "檔案拒收");
  EXPECT_EQ(m_server->ledger().run(serial)->files.size(), 1U);
}

TEST_F(FilingServerTest, DropUploadCutsTheConnectionInTheMiddleOfTheBody) {
  const std::string serial = issueSerial();
  std::string noise(300000, '\0');
  unsigned state = 12345;
  for (char& c : noise) c = static_cast<char>((state = state * 1103515245U + 12345U) >> 24);
  const PreparedUpload upload = prepareUpload(serial, "big", "pdf", noise, 1, 1);
  ASSERT_GT(upload.enp.size(), 250000U);  // far more than is read before the cut
  setFault("drop-upload", "1000");
  const HttpsReply reply = send(upload);
  EXPECT_NE(reply.code, CURLE_OK);
  EXPECT_TRUE(reply.body.empty());
  EXPECT_TRUE(m_server->ledger().run(serial)->files.empty());
  // The switch stays on until cleared; the next connection is served again once it is.
  setFault("clear");
  EXPECT_EQ(elementText(send(upload).body, "Code"), "0");
}

TEST_F(FilingServerTest, AdminRefusesUnknownFaults) {
  const HttpsReply reply = m_client->postForm(url("/admin/fault?name=no-such-fault"), "");
  EXPECT_EQ(reply.status, 400);
  EXPECT_EQ(reply.body, "unknown fault: no-such-fault\n");
}

}  // namespace
}  // namespace athup::testing
