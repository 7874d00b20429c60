#include "upload/http_session.h"

#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <cstring>

#include "upload/curl_error_code.h"

namespace athup::upload {
namespace {

size_t collectBody(char* data, size_t size, size_t count, void* user) {
  static_cast<HttpReply*>(user)->body.append(data, size * count);
  return size * count;
}

size_t collectStatusLine(char* data, size_t size, size_t count, void* user) {
  auto* reply = static_cast<HttpReply*>(user);
  std::string line(data, size * count);
  if (line.starts_with("HTTP/")) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    reply->statusLine = line;  // the last one wins: a proxy's "200 Connection established" first
  }
  return size * count;
}

// Adds the settings' authority file to the system store curl has already loaded. A file that
// cannot be read fails the handshake: a missing authority must never mean "trust anything".
CURLcode addAuthorityFile(CURL*, void* sslContext, void* user) {
  const auto* caFile = static_cast<const std::filesystem::path*>(user);
  X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
  if (X509_STORE_load_file(store, caFile->c_str()) != 1) return CURLE_SSL_CACERT_BADFILE;
  return CURLE_OK;
}

}  // namespace

int HttpReply::internetErrorCode() const {
  return upload::internetErrorCode(code, verifyResult);
}

HttpSession::HttpSession(TransportOptions options)
    : m_options(std::move(options)), m_curl(curl_easy_init()), m_errorBuffer{} {}

HttpSession::~HttpSession() {
  if (m_curl != nullptr) curl_easy_cleanup(m_curl);
}

CURL* HttpSession::begin() {
  curl_easy_reset(m_curl);
  m_reply = HttpReply{};
  m_errorBuffer[0] = '\0';
  curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, m_errorBuffer);
  curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(m_curl, CURLOPT_USERAGENT, "HTTPClientLink");
  curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(m_curl, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!m_options.caFile.empty()) {
    curl_easy_setopt(m_curl, CURLOPT_SSL_CTX_FUNCTION, &addAuthorityFile);
    curl_easy_setopt(m_curl, CURLOPT_SSL_CTX_DATA, &m_options.caFile);
  }
  const std::optional<Proxy> proxy = m_options.proxy ? m_options.proxy : proxyFromEnvironment();
  if (proxy) {
    const std::string address = "http://" + proxy->host + ":" + std::to_string(proxy->port);
    curl_easy_setopt(m_curl, CURLOPT_PROXY, address.c_str());
    const std::string bypass = noProxyHosts();
    curl_easy_setopt(m_curl, CURLOPT_NOPROXY, bypass.c_str());
  } else {
    curl_easy_setopt(m_curl, CURLOPT_PROXY, "");  // not curl's own reading of the environment
  }
  curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &collectBody);
  curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &m_reply);
  curl_easy_setopt(m_curl, CURLOPT_HEADERFUNCTION, &collectStatusLine);
  curl_easy_setopt(m_curl, CURLOPT_HEADERDATA, &m_reply);
  return m_curl;
}

HttpReply HttpSession::perform(const std::function<bool()>& abort) {
  m_abort = abort;
  if (m_abort) {
    curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(
        m_curl, CURLOPT_XFERINFOFUNCTION,
        +[](void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) -> int {
          return static_cast<HttpSession*>(self)->m_abort() ? 1 : 0;
        });
  }
  m_reply.code = curl_easy_perform(m_curl);
  curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &m_reply.status);
  curl_easy_getinfo(m_curl, CURLINFO_SSL_VERIFYRESULT, &m_reply.verifyResult);
  if (m_reply.code != CURLE_OK) {
    m_reply.errorDetail =
        m_errorBuffer[0] != '\0' ? m_errorBuffer : curl_easy_strerror(m_reply.code);
  }
  m_abort = nullptr;
  HttpReply reply = std::move(m_reply);
  m_reply = HttpReply{};
  return reply;
}

}  // namespace athup::upload
