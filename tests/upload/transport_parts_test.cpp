#include <gtest/gtest.h>

#include <cstdlib>

#include "common/big5.h"
#include "common/errors.h"
#include "upload/endpoints.h"
#include "upload/form_transport.h"
#include "upload/proxy.h"
#include "upload/response_document.h"
#include "upload/server_hosts.h"
#include "upload/text_between.h"

namespace athup::upload {
namespace {

TEST(SelectEndpoints, BlankGivesProductionAndOtherValuesAreKeptExactly) {
  const std::string production = "https://" + std::string(kServerHosts.productionFiling);
  for (const char* blank : {"", "   "}) {
    const Endpoints e = selectEndpoints(blank);
    EXPECT_EQ(e.queryUrl, production + "/orbatt/orbAttachQuery");
    EXPECT_EQ(e.uploadUrl, production + "/orbatt/orbAttachUpload");
    EXPECT_EQ(e.clientVersionUrl, production + "/orbatt/ClientVersion.jsp");
  }
  EXPECT_EQ(selectEndpoints("host ").queryUrl, "https://host /orbatt/orbAttachQuery");
  EXPECT_EQ(selectEndpoints("127.0.0.1:8443").uploadUrl,
            "https://127.0.0.1:8443/orbatt/orbAttachUpload");
}

TEST(SplitRequestUrl, SchemeHostAndObjectPath) {
  RequestTarget t = splitRequestUrl("HTTPS://host\\a/b");
  EXPECT_TRUE(t.secure);
  EXPECT_EQ(t.host, "host");
  EXPECT_EQ(t.objectPath, "\\a/b");
  t = splitRequestUrl("http://127.0.0.1:8080/x?y=1");
  EXPECT_FALSE(t.secure);
  EXPECT_EQ(t.host, "127.0.0.1:8080");
  EXPECT_EQ(t.objectPath, "/x?y=1");
  try {
    (void)splitRequestUrl("ftp://host/a");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "錯誤的 URL 型態，您輸入的 URL 為: \" ftp://host/a \" !!");
  }
  EXPECT_THROW((void)splitRequestUrl(""), Error);
}

TEST(ProxyList, TheHttpsRuleAndPorts) {
  const struct {
    const char* list;
    std::optional<Proxy> expected;
  } cases[] = {
      {"https=p:8080;http=q:80", Proxy{"p", 8080}},
      {"http=q:80;https=p:8080", Proxy{"p", 8080}},
      {"p:8080", Proxy{"p", 8080}},
      {"p:port", Proxy{"p", 0}},
      {"p", Proxy{"p", 0}},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"https=;http=q:80", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parseProxyList(c.list), c.expected) << c.list;
}

TEST(ProxySettings, BothValuesNeeded) {
  EXPECT_EQ(proxyFromSettings("p", "8080"), (Proxy{"p", 8080}));
  EXPECT_EQ(proxyFromSettings("p", ""), std::nullopt);
  EXPECT_EQ(proxyFromSettings("", "8080"), std::nullopt);
}

TEST(ProxyEnvironment, SchemeAndSlashAreDropped) {
  ::setenv("https_proxy", "http://proxy.local:3128/", 1);
  EXPECT_EQ(proxyFromEnvironment(), (Proxy{"proxy.local", 3128}));
  ::unsetenv("https_proxy");
}

TEST(TextBetween, FirstMarkers) {
  const std::string page = "<html><title>系統維護中</title><title>x</title>";
  EXPECT_EQ(textBetween(page, "<title>", "</title>"), "系統維護中");
  EXPECT_EQ(textBetween(page, "<h1>", "</title>"), "");
  EXPECT_EQ(textBetween(page, "<title>", "</h1>"), "");
  EXPECT_EQ(textBetween("b]a[", "[", "]"), "");
}

TEST(ResponseDocument, LookupsOnABig5Answer) {
  const std::string answer = common::utf8ToBig5(
      "<?xml version=\"1.0\" encoding=\"Big5\"?><TAX Name=\"ORB\"><Version>1</Version>"
      "<Code>0</Code><Msg>成功</Msg><Date>20240501093015</Date><DataList>"
      "<Data Name=\"updserial\">A1</Data><Data Name=\"list\">eJw=</Data>"
      "<Data Name=\"updserial\">A2</Data></DataList></TAX>");
  const ResponseDocument doc = ResponseDocument::parse(answer);
  EXPECT_EQ(doc.name(), "ORB");
  EXPECT_EQ(doc.code(), "0");
  EXPECT_EQ(doc.msg(), "成功");
  EXPECT_EQ(doc.date(), "20240501093015");
  EXPECT_EQ(doc.dataCount(), 3);
  EXPECT_EQ(doc.dataAt(1), std::make_pair(std::string("list"), std::string("eJw=")));
  EXPECT_EQ(doc.dataAt(3), std::nullopt);
  EXPECT_EQ(doc.dataByName("updserial"), "A1");
  EXPECT_EQ(doc.dataByName("UPDSERIAL"), std::nullopt);
}

TEST(ResponseDocument, BrokenAnswersRaise) {
  EXPECT_THROW((void)ResponseDocument::parse("<TAX><Code>0</Code>"), Error);
  EXPECT_THROW((void)ResponseDocument::parse("<html>503</html>"), Error);
  EXPECT_THROW((void)ResponseDocument::parse(""), Error);
}

}  // namespace
}  // namespace athup::upload
