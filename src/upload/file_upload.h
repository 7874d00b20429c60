#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "upload/http_session.h"

namespace athup::upload {

// The upload component: a connection check against the version page, then one multipart POST of
// the request fields, the seal and one encrypted file. Failures never raise; they end in the
// error event with the texts below. The handle of its session is kept between transfers.
class FileUpload {
 public:
  using ErrorEvent = std::function<void(const std::string& text)>;
  using DoneEvent = std::function<void(const std::string& body)>;
  // Two draws in 0..2147483646 for the watchdog's jitter; tests make them fixed.
  using RandomSource = std::function<long()>;

  static constexpr int kDefaultTimerInterval = 180000;
  static constexpr int kDefaultTestTimeOut = 30000;

  explicit FileUpload(TransportOptions options);

  void setOnError(ErrorEvent event) { m_onError = std::move(event); }
  void setOnDoneString(DoneEvent event) { m_onDone = std::move(event); }
  void setRandomSource(RandomSource source) { m_random = std::move(source); }
  // Asked while an upload transfers; true breaks it off, which ends in the error event.
  void setAbortCheck(std::function<bool()> check) { m_abortCheck = std::move(check); }

  // Test time-out and upload time-out in milliseconds; an upload time-out above 0 also becomes
  // the watchdog interval.
  void setTimeOuts(int testTimeOut, bool uploadTimeOutOpen, int uploadTimeOut);

  // Starts a new transfer. `fields` are name=value lines, sent in order. A proxy is used only
  // when `useProxy` is set; otherwise the environment's.
  void prepare(std::vector<std::string> fields, std::string checkUrl, std::string seal,
               int proxyPort, std::string proxyHost, bool useProxy, std::string uploadFile,
               std::string uploadUrl);
  // GETs the check address; connected when the page holds "VERSION" and "VERSION DATE".
  void checkConnect();
  // The multipart POST; ends in exactly one event. With no fields nothing is sent, no event.
  void upload();

  [[nodiscard]] bool isConnect() const { return m_isConnect; }
  [[nodiscard]] int timerInterval() const { return m_timerInterval; }
  void setTimerInterval(int milliseconds) { m_timerInterval = milliseconds; }
  [[nodiscard]] const std::string& lastResponse() const { return m_lastResponse; }
  [[nodiscard]] const std::vector<std::string>& paramLists() const { return m_fields; }

 private:
  void applyProxy();
  void fail(const std::string& text);

  HttpSession m_session;
  ErrorEvent m_onError;
  DoneEvent m_onDone;
  RandomSource m_random;
  std::function<bool()> m_abortCheck;

  std::vector<std::string> m_fields;
  std::string m_checkUrl;
  std::string m_uploadUrl;
  std::string m_uploadFile;
  std::string m_seal;
  bool m_useProxy = false;
  std::string m_proxyHost;
  int m_proxyPort = 0;

  int m_timerInterval = kDefaultTimerInterval;
  int m_clientTestTimeOut = 0;
  bool m_clientUploadTimeOutOpen = false;
  int m_clientUploadTimeOut = 0;
  bool m_isConnect = false;
  std::string m_lastResponse;
};

}  // namespace athup::upload
