#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "upload/http_session.h"

namespace athup::upload {

// The answer of one form post: the body when an answer arrived, else the messages the caller
// shows, each in its own plain box, in order.
struct FormReply {
  std::optional<std::string> body;
  std::vector<std::string> messages;
  int internetErrorCode = 0;  // of a failed send, 0 otherwise
  std::string errorDetail;    // libcurl's description of a failed send
};

// The message for an address that is neither HTTPS nor HTTP ("錯誤的 URL 型態 ...").
[[nodiscard]] std::string wrongSchemeMessage(std::string_view url);

// Where a form request goes: secure or plain, the host (a port may follow it, "127.0.0.1:8443")
// and the object path (from the first "/" or "\" on). Raises athup::Error with the wrong-scheme
// message for any other scheme.
struct RequestTarget {
  bool secure = false;
  std::string host;
  std::string objectPath;
};
[[nodiscard]] RequestTarget splitRequestUrl(std::string_view url);

// The form transport: one POST of a form-encoded body, HTTP/1.0, the single header
// "Content-Type:application/x-www-form-urlencoded", the whole answer read. One attempt, never a
// retry. The handle is kept, so a reused connection or TLS session serves the next post.
class FormTransport {
 public:
  explicit FormTransport(TransportOptions options);

  // Raises athup::Error for an unknown scheme; every other failure is in the reply's messages.
  [[nodiscard]] FormReply postFormRequest(std::string_view url, std::string_view body);

  // The version request: the same exchange without a body and without a forced reload.
  [[nodiscard]] FormReply requestVersionInfo(std::string_view url);

  [[nodiscard]] HttpSession& session() { return m_session; }

 private:
  [[nodiscard]] FormReply exchange(std::string_view url, std::string_view body,
                                   bool versionRequest);

  HttpSession m_session;
};

}  // namespace athup::upload
