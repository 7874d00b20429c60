#pragma once

#include <curl/curl.h>

#include <filesystem>
#include <string>
#include <vector>

namespace athup::testing {

struct HttpsReply {
  CURLcode code = CURLE_OK;
  long status = 0;
  std::string body;
};

struct MultipartField {
  std::string name;
  std::string value;
};

// A plain libcurl client for the simulator's tests: certificates verified against the given
// authority file (none: the system's store only), TLS 1.2 at least, no proxy.
class HttpsClient {
 public:
  explicit HttpsClient(std::filesystem::path caFile);
  ~HttpsClient();
  HttpsClient(const HttpsClient&) = delete;
  HttpsClient& operator=(const HttpsClient&) = delete;

  HttpsReply get(const std::string& url);
  // The single header "Content-Type:application/x-www-form-urlencoded", as the client sends it.
  HttpsReply postForm(const std::string& url, const std::string& body);
  // Text parts in order, then the file part "uploadFile" with content type "file".
  HttpsReply postMultipart(const std::string& url, const std::vector<MultipartField>& fields,
                           const std::string& fileName, const std::string& fileBytes);

 private:
  HttpsReply perform(const std::string& url);

  std::filesystem::path m_caFile;
  CURL* m_curl;
};

}  // namespace athup::testing
