#include "upload/internet_error_text.h"

#include <gtest/gtest.h>

#include "upload/curl_error_code.h"

namespace athup::upload {
namespace {

TEST(InternetErrorText, KnownTextsAndExceptions) {
  EXPECT_EQ(internetErrorText(12002),
            "Error Code:12002(ERROR_INTERNET_TIMEOUT) \r\nThe request has timed out.");
  EXPECT_EQ(internetErrorText(12029), "ErrorCodeToDo_12029");
  EXPECT_EQ(internetErrorText(12007), "ErrorCodeToDo_12007---12007");
  EXPECT_EQ(internetErrorText(12035), "");
  EXPECT_EQ(internetErrorText(0), "");
  EXPECT_EQ(internetErrorText(18),
            "Error occurred.(ERROR_NO_MORE_FILES)  \r\nNo more files have been found.( Header:  "
            "Declared in Winerror.h)");
  EXPECT_EQ(
      internetErrorText(6),
      "Error occurred.(ERROR_INVALID_HANDLE)  \r\nThe handle is invalid.(Header:  Declared in "
      "Winerror.h)");
  EXPECT_EQ(internetErrorText(12056), "Error Code:12056(ERROR_INTERNET_SEC_CERT_NO_REV) ");
  EXPECT_TRUE(
      internetErrorText(12012).starts_with("Error Code:12012(ERROR_INTERNET_SHUTDOWN \r\n\t"));
  EXPECT_TRUE(internetErrorText(12137).starts_with(
      "Error Code:12137(ERROR_GOPHER_ATTRIBUTE_NOT_FOUND \r\n"));
  EXPECT_TRUE(internetErrorText(12130).ends_with(
      "(Note: Windows XP and Windows Server 2003 R2 and earlier only.)"));
  EXPECT_NE(internetErrorText(12038).find("incorrect\u2014for example"), std::string::npos);
  EXPECT_EQ(internetErrorText(12174).find("\r\n This header specifically"),
            std::string("Error Code:12174(ERROR_INTERNET_LOGIN_FAILURE_DISPLAY_ENTITY_BODY) \r\n"
                        "The MS-Logoff digest header has been returned from the Web site.")
                .size());
}

TEST(InternetErrorText, AllNinetySevenCodesHaveText) {
  int count = 0;
  for (int code = 0; code <= 12200; ++code) {
    if (!internetErrorText(code).empty()) ++count;
  }
  EXPECT_EQ(count, 97);
}

TEST(InternetErrorCode, LibcurlFailuresMapToCodesWithText) {
  const struct {
    CURLcode curl;
    long verify;
    int expected;
  } cases[] = {
      {CURLE_COULDNT_RESOLVE_HOST, 0, 12007},
      {CURLE_COULDNT_CONNECT, 0, 12029},
      {CURLE_OPERATION_TIMEDOUT, 0, 12002},
      {CURLE_PEER_FAILED_VERIFICATION, 20, 12045},  // unable to get local issuer
      {CURLE_PEER_FAILED_VERIFICATION, 10, 12037},  // expired
      {CURLE_PEER_FAILED_VERIFICATION, 0, 12038},   // name mismatch
      {CURLE_RECV_ERROR, 0, 12031},
      {CURLE_GOT_NOTHING, 0, 12152},
      {CURLE_FAILED_INIT, 0, 12004},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(internetErrorCode(c.curl, c.verify), c.expected) << c.curl;
    EXPECT_FALSE(internetErrorText(c.expected).empty()) << c.expected;
  }
}

}  // namespace
}  // namespace athup::upload
