#include "https_client.h"

#include <stdexcept>

namespace athup::testing {
namespace {

std::size_t collect(char* data, std::size_t size, std::size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

}  // namespace

HttpsClient::HttpsClient(std::filesystem::path caFile)
    : m_caFile(std::move(caFile)), m_curl(curl_easy_init()) {
  if (m_curl == nullptr) throw std::runtime_error("curl_easy_init failed");
}

HttpsClient::~HttpsClient() {
  curl_easy_cleanup(m_curl);
}

HttpsReply HttpsClient::perform(const std::string& url) {
  HttpsReply reply;
  curl_easy_setopt(m_curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(m_curl, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(m_curl, CURLOPT_SSLVERSION, CURL_SSLVERSION_TLSv1_2);
  curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!m_caFile.empty()) curl_easy_setopt(m_curl, CURLOPT_CAINFO, m_caFile.c_str());
  curl_easy_setopt(m_curl, CURLOPT_TIMEOUT, 30L);
  curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &reply.body);
  reply.code = curl_easy_perform(m_curl);
  curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &reply.status);
  curl_easy_reset(m_curl);
  return reply;
}

HttpsReply HttpsClient::get(const std::string& url) {
  return perform(url);
}

HttpsReply HttpsClient::postForm(const std::string& url, const std::string& body) {
  curl_slist* headers =
      curl_slist_append(nullptr, "Content-Type:application/x-www-form-urlencoded");
  curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(m_curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(m_curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  HttpsReply reply = perform(url);
  curl_slist_free_all(headers);
  return reply;
}

HttpsReply HttpsClient::postMultipart(const std::string& url,
                                      const std::vector<MultipartField>& fields,
                                      const std::string& fileName, const std::string& fileBytes) {
  curl_mime* mime = curl_mime_init(m_curl);
  for (const auto& field : fields) {
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_name(part, field.name.c_str());
    curl_mime_data(part, field.value.data(), field.value.size());
    curl_mime_type(part, "text/plain");
  }
  curl_mimepart* file = curl_mime_addpart(mime);
  curl_mime_name(file, "uploadFile");
  curl_mime_data(file, fileBytes.data(), fileBytes.size());
  curl_mime_filename(file, fileName.c_str());
  curl_mime_type(file, "file");
  curl_mime_encoder(file, "binary");
  curl_easy_setopt(m_curl, CURLOPT_MIMEPOST, mime);
  HttpsReply reply = perform(url);
  curl_mime_free(mime);
  return reply;
}

}  // namespace athup::testing
