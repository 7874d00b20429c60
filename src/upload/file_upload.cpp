#include "upload/file_upload.h"

#include <filesystem>
#include <random>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/whole_file.h"

namespace athup::upload {
namespace {

constexpr const char* kCheckFailed = "連線失敗，請確認網路連線是否正常!";
constexpr const char* kNetworkFailed =
    "網路連線失敗，請確認您的網路設定，是否設有防火牆且有開啟TCP Port "
    "443或被防毒軟體阻擋，或洽貴單位資訊人員！";
constexpr const char* kFileFailed = "上傳失敗，讀取檔案發生錯誤，請確認檔案是否正確!";
constexpr const char* kConnectionClosed = "上傳失敗，連線已中斷，請確認網路連線狀況!";
constexpr const char* kUploadFailed = "上傳失敗!";

// The value of the first line of that name, as a name=value list looks values up.
std::string valueOf(const std::vector<std::string>& lines, const std::string& name) {
  for (const auto& line : lines) {
    const auto equals = line.find('=');
    if (line.substr(0, equals) == name) {
      return equals == std::string::npos ? std::string() : line.substr(equals + 1);
    }
  }
  return {};
}

bool connectionClosed(CURLcode code) {
  return code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR || code == CURLE_GOT_NOTHING ||
         code == CURLE_PARTIAL_FILE;
}

}  // namespace

FileUpload::FileUpload(TransportOptions options) : m_session(std::move(options)) {
  m_random = [] {
    static thread_local std::mt19937 generator{std::random_device{}()};
    return static_cast<long>(std::uniform_int_distribution<long>(0, 2147483646)(generator));
  };
}

void FileUpload::setTimeOuts(int testTimeOut, bool uploadTimeOutOpen, int uploadTimeOut) {
  m_clientTestTimeOut = testTimeOut;
  m_clientUploadTimeOutOpen = uploadTimeOutOpen;
  m_clientUploadTimeOut = uploadTimeOut;
  if (uploadTimeOut > 0) m_timerInterval = uploadTimeOut;
}

void FileUpload::prepare(std::vector<std::string> fields, std::string checkUrl, std::string seal,
                         int proxyPort, std::string proxyHost, bool useProxy,
                         std::string uploadFile, std::string uploadUrl) {
  m_fields = std::move(fields);
  m_checkUrl = std::move(checkUrl);
  m_seal = std::move(seal);
  m_proxyPort = proxyPort;
  m_proxyHost = std::move(proxyHost);
  m_useProxy = useProxy;
  m_uploadFile = std::move(uploadFile);
  m_uploadUrl = std::move(uploadUrl);
  m_lastResponse.clear();
  m_isConnect = false;
  if (m_clientUploadTimeOut == 0) m_timerInterval = kDefaultTimerInterval;
}

void FileUpload::applyProxy() {
  // With the flag the stored proxy; otherwise the session falls back to the environment's.
  m_session.setProxy(m_useProxy ? std::optional<Proxy>(Proxy{m_proxyHost, m_proxyPort})
                                : std::nullopt);
}

void FileUpload::fail(const std::string& text) {
  if (m_onError) m_onError(text);
}

void FileUpload::checkConnect() {
  m_isConnect = false;
  const int timeOut = m_clientTestTimeOut == 0 ? kDefaultTestTimeOut : m_clientTestTimeOut;
  m_lastResponse.clear();
  applyProxy();
  if (!m_session.valid()) {
    fail(std::string(kNetworkFailed) + "libcurl could not be initialised.");
    return;
  }
  CURL* curl = m_session.begin();
  curl_easy_setopt(curl, CURLOPT_URL, m_checkUrl.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeOut));
  HttpReply reply = m_session.perform();
  if (!reply.ok()) {
    fail(std::string(kNetworkFailed) + reply.errorDetail);
    return;
  }
  m_lastResponse = std::move(reply.body);
  if (m_lastResponse.empty()) return;  // nothing set, nothing reported
  if (m_lastResponse.find("VERSION") != std::string::npos &&
      m_lastResponse.find("VERSION DATE") != std::string::npos) {
    m_isConnect = true;
  } else {
    fail(kCheckFailed);
  }
}

void FileUpload::upload() {
  if (m_fields.empty()) return;
  if (!m_session.valid()) {
    fail(std::string(kUploadFailed) + "libcurl could not be initialised.");
    return;
  }
  std::string fileBytes;
  try {
    fileBytes = common::readWholeFile(common::pathFromUtf8(m_uploadFile));
  } catch (const std::exception& error) {
    fail(std::string(kFileFailed) + error.what());
    return;
  }

  m_lastResponse.clear();
  applyProxy();
  CURL* curl = m_session.begin();
  curl_mime* mime = curl_mime_init(curl);
  for (const auto& line : m_fields) {
    const std::string name = line.substr(0, line.find('='));
    const std::string value = valueOf(m_fields, name);
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_name(part, name.c_str());
    curl_mime_data(part, value.data(), value.size());
    curl_mime_type(part, "text/plain");
  }
  if (!m_seal.empty()) {
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_name(part, "seal");
    curl_mime_data(part, m_seal.data(), m_seal.size());
    curl_mime_type(part, "text/plain");
  }
  curl_mimepart* filePart = curl_mime_addpart(mime);
  curl_mime_name(filePart, "uploadFile");
  const std::string fileName = common::utf8FromPath(common::pathFromUtf8(m_uploadFile).filename());
  curl_mime_filename(filePart, fileName.c_str());
  curl_mime_type(filePart, "file");
  curl_mime_encoder(filePart, "binary");
  curl_mime_data(filePart, fileBytes.data(), fileBytes.size());

  // Watchdog: the interval moves by up to 14 seconds either way, so parallel clients do not give
  // up together; armed only when asked for.
  const long r1 = m_random();
  const long r2 = m_random();
  const int delta = static_cast<int>(r2 % 15) * 1000;
  m_timerInterval += (r1 % 2 == 1) ? delta : -delta;
  const bool armed = m_clientUploadTimeOutOpen;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timerInterval);
  std::function<bool()> watchdog;
  if (armed || m_abortCheck) {
    watchdog = [armed, deadline, this] {
      return (armed && std::chrono::steady_clock::now() >= deadline) ||
             (m_abortCheck && m_abortCheck());
    };
  }

  curl_easy_setopt(curl, CURLOPT_URL, m_uploadUrl.c_str());
  curl_easy_setopt(curl, CURLOPT_MIMEPOST, mime);
  curl_slist* headers = curl_slist_append(nullptr, "Expect:");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 0L);  // no read time-out
  HttpReply reply = m_session.perform(watchdog);
  curl_slist_free_all(headers);
  curl_mime_free(mime);

  if (!reply.ok()) {
    if (connectionClosed(reply.code)) {
      fail(std::string(kConnectionClosed) + reply.errorDetail);
    } else {
      fail(std::string(kUploadFailed) + reply.errorDetail);
    }
    return;
  }
  if (reply.status >= 400) {
    fail(std::string(kUploadFailed) + reply.statusLine);
    return;
  }
  m_lastResponse = std::move(reply.body);
  if (m_onDone) m_onDone(m_lastResponse);
}

}  // namespace athup::upload
