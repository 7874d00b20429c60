#include "upload/form_transport.h"

#include "common/ascii.h"
#include "common/errors.h"
#include "upload/internet_error_text.h"

namespace athup::upload {
namespace {

constexpr const char* kSessionFailed = "開啟連線失敗，請檢查網路連線或代理伺服器之設定！";
constexpr const char* kConnectFailed = "連線失敗，請檢查網路連線或設定！";
constexpr const char* kRequestFailed = "資料傳輸錯誤,請確認網路連線狀態";
constexpr const char* kSendFailed = "資料傳送失敗，請檢查網路連線或設定！";

// The text of a failed version request, where two codes read differently from the table.
std::string versionErrorText(int code) {
  if (code == 12007) {
    return "Error Code:12007(ERROR_INTERNET_NAME_NOT_RESOLVED)\r\nThe server name could not be "
           "resolved.";
  }
  if (code == 12029) {
    return "Error Code:12029(ERROR_INTERNET_CANNOT_CONNECT) The attempt to connect to the server "
           "failed.";
  }
  return internetErrorText(code);
}

bool isCertificateProblem(int code) {
  return code == 12037 || code == 12038 || code == 12045 || code == 12169 || code == 12170;
}

}  // namespace

std::string wrongSchemeMessage(std::string_view url) {
  return "錯誤的 URL 型態，您輸入的 URL 為: \" " + std::string(url) + " \" !!";
}

RequestTarget splitRequestUrl(std::string_view url) {
  RequestTarget target;
  if (common::upperAscii(url.substr(0, 5)) == "HTTPS") {
    target.secure = true;
    url = url.size() > 8 ? url.substr(8) : std::string_view{};
  } else if (common::upperAscii(url.substr(0, 4)) == "HTTP") {
    url = url.size() > 7 ? url.substr(7) : std::string_view{};
  } else {
    throw Error(wrongSchemeMessage(url));
  }
  const auto separator = url.find_first_of("/\\");
  target.host = std::string(url.substr(0, separator));
  if (separator != std::string_view::npos) target.objectPath = std::string(url.substr(separator));
  return target;
}

FormTransport::FormTransport(TransportOptions options) : m_session(std::move(options)) {}

FormReply FormTransport::postFormRequest(std::string_view url, std::string_view body) {
  return exchange(url, body, false);
}

FormReply FormTransport::requestVersionInfo(std::string_view url) {
  return exchange(url, {}, true);
}

FormReply FormTransport::exchange(std::string_view url, std::string_view body,
                                  bool versionRequest) {
  const RequestTarget target = splitRequestUrl(url);
  FormReply reply;
  if (!m_session.valid()) {
    reply.messages.emplace_back(kSessionFailed);
    return reply;
  }
  // A host made of blanks, or holding characters no host has, cannot be connected to.
  if (target.host.empty() || target.host.find_first_of(" \t\r\n@?#") != std::string::npos) {
    reply.messages.emplace_back(kConnectFailed);
    return reply;
  }

  CURL* curl = m_session.begin();
  const std::string address =
      std::string(target.secure ? "https://" : "http://") + target.host + "/";
  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, "Content-Type:application/x-www-form-urlencoded");
  headers = curl_slist_append(headers, "Accept:");  // no accept types
  headers = curl_slist_append(headers, "Expect:");  // the body goes with the headers
  bool requestMade = curl_easy_setopt(curl, CURLOPT_URL, address.c_str()) == CURLE_OK;
  // The object path goes into the request line as it is, a leading "\" included.
  const std::string objectPath = target.objectPath.empty() ? "/" : target.objectPath;
  requestMade =
      requestMade && curl_easy_setopt(curl, CURLOPT_REQUEST_TARGET, objectPath.c_str()) == CURLE_OK;
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  if (!requestMade || headers == nullptr) {
    curl_slist_free_all(headers);
    reply.messages.emplace_back(kRequestFailed);
    return reply;
  }
  HttpReply answer = m_session.perform();
  curl_slist_free_all(headers);

  if (!answer.ok()) {
    reply.internetErrorCode = answer.internetErrorCode();
    reply.errorDetail = answer.errorDetail;
    if (versionRequest) {
      std::string message = std::string(kSendFailed) +
                            "\r\n錯誤碼(Error Code):" + std::to_string(reply.internetErrorCode) +
                            "\r\n" + versionErrorText(reply.internetErrorCode);
      // No second try without verification: the user learns what is wrong with the certificate.
      if (isCertificateProblem(reply.internetErrorCode)) {
        message += "\r\n伺服器憑證未通過驗證，連線已中止：" + answer.errorDetail;
      }
      reply.messages.push_back(std::move(message));
    } else {
      reply.messages.push_back(internetErrorText(reply.internetErrorCode));
      reply.messages.emplace_back(kSendFailed);
    }
    return reply;
  }
  reply.body = std::move(answer.body);
  return reply;
}

}  // namespace athup::upload
