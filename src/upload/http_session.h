#pragma once

#include <curl/curl.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "upload/proxy.h"

namespace athup::upload {

// How every exchange with the filing server is made. Server certificates are always verified,
// against the system's store and, when set, the extra authority file of the settings value
// "ca_file"; TLS 1.2 is the minimum. Without an explicit proxy the environment's is used.
struct TransportOptions {
  std::filesystem::path caFile;
  std::optional<Proxy> proxy;
};

// What one transfer gave: libcurl's result, the HTTP status line and the body as it arrived.
struct HttpReply {
  CURLcode code = CURLE_OK;
  long status = 0;
  std::string statusLine;  // "HTTP/1.1 503 Service Unavailable", without the line break
  std::string body;
  std::string errorDetail;  // libcurl's own description of a failure
  long verifyResult = 0;    // CURLINFO_SSL_VERIFYRESULT
  [[nodiscard]] bool ok() const { return code == CURLE_OK; }
  [[nodiscard]] int internetErrorCode() const;
};

// One libcurl handle kept for the life of the session, so connections and TLS sessions are
// reused between requests. Each request starts from reset options plus the common ones.
class HttpSession {
 public:
  explicit HttpSession(TransportOptions options);
  ~HttpSession();
  HttpSession(const HttpSession&) = delete;
  HttpSession& operator=(const HttpSession&) = delete;

  [[nodiscard]] bool valid() const { return m_curl != nullptr; }
  [[nodiscard]] const TransportOptions& options() const { return m_options; }
  void setProxy(std::optional<Proxy> proxy) { m_options.proxy = std::move(proxy); }

  // Resets the handle and sets agent, TLS, proxy and the body collection; returns the handle for
  // the request's own options.
  CURL* begin();
  // Runs the request begun last. `abort` is asked while the transfer runs; true stops it.
  HttpReply perform(const std::function<bool()>& abort = {});

 private:
  TransportOptions m_options;
  CURL* m_curl;
  HttpReply m_reply;
  std::function<bool()> m_abort;
  char m_errorBuffer[CURL_ERROR_SIZE];
};

}  // namespace athup::upload
