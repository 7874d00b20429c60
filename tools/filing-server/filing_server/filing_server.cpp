#include "filing_server/filing_server.h"

#include <httplib.h>
#include <openssl/ssl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <thread>

#include "common/big5.h"
#include "common/errors.h"
#include "common/local_time.h"
#include "filing_server/form_body.h"
#include "filing_server/response_document.h"
#include "filing_server/result_file.h"
#include "filing_server/seal_text.h"
#include "filing_server/test_authority.h"
#include "filing_server/upload_unpacker.h"
#include "security/codecs/base64.h"
#include "security/codecs/file_checksum.h"

namespace athup::filing_server {
namespace {

constexpr const char* kXmlType = "text/xml; charset=Big5";
constexpr const char* kHtmlType = "text/html; charset=Big5";

// The socket of the connection the current worker thread serves. cpp-httplib runs the TLS
// handshake and every request of a connection on one pool thread and does not hand the socket to
// handlers, so the handshake callback notes it here for the "drop-upload" switch.
thread_local int tConnectionSocket = -1;

void noteConnection(const SSL* ssl, int where, int /*ret*/) {
  if ((where & SSL_CB_HANDSHAKE_DONE) != 0) tConnectionSocket = SSL_get_fd(ssl);
}

// Cuts the connection both ways: the client sees it closed in the middle of its request.
void dropConnection() {
  if (tConnectionSocket >= 0) ::shutdown(tConnectionSocket, SHUT_RDWR);
}

struct Clock {
  std::string stamp;  // yyyymmddhhnnss
  std::string day;    // yyyymmdd
};

Clock now() {
  const std::tm t = common::localTimeParts(std::chrono::system_clock::now());
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return Clock{text, std::string(text, 8)};
}

bool allDigits(std::string_view text, std::size_t size) {
  return text.size() == size &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

// Texts the client may have sealed in Big5 or in UTF-8: equal when they are equal either way.
bool sameText(const std::string& sealed, const std::string& big5Field) {
  return sealed == big5Field || common::big5ToUtf8(sealed) == common::big5ToUtf8(big5Field) ||
         sealed == common::big5ToUtf8(big5Field);
}

struct Refusal {
  std::string code;
  std::string msg;
};

Refusal refusalFromValue(const std::string& value, const char* defaultCode) {
  if (value.empty()) return {defaultCode, "系統忙碌中，請稍後再試"};
  const auto colon = value.find(':');
  if (colon == std::string::npos) return {value, "系統忙碌中，請稍後再試"};
  return {value.substr(0, colon), value.substr(colon + 1)};
}

// A body cut off in the middle of the document: never well-formed XML.
std::string malformed(const std::string& big5Document) {
  return big5Document.substr(0, big5Document.size() / 2);
}

using Lookup = std::function<std::optional<std::string>(std::string_view)>;

}  // namespace

struct FilingServer::Impl {
  ServerOptions options;
  FaultSwitches faults;
  TaxpayerLedger ledger;
  std::unique_ptr<TestAuthority> authority;
  std::unique_ptr<httplib::SSLServer> server;
  std::unique_ptr<UploadUnpacker> unpacker;
  std::filesystem::path storeDir;
  std::filesystem::path ownStoreDir;  // made by start() and removed by stop()
  std::thread thread;
  int port = 0;

  void route();
  void sleepIfSlow();
  bool answeredByPageFault(httplib::Response& res, bool htmlPage);
  void sendDocument(httplib::Response& res, const ResponseDocument& document);
  [[nodiscard]] std::optional<Refusal> authenticate(const Lookup& field, bool forFile) const;
  void handleVersion(httplib::Response& res);
  void handleQuery(const httplib::Request& req, httplib::Response& res);
  void handleUpload(const httplib::Request& req, httplib::Response& res,
                    const httplib::ContentReader& reader);
  [[nodiscard]] ResultHeader resultHeader(const std::string& ban, const std::string& yearMon,
                                          const Clock& clock, const std::optional<UploadRun>& run);
  void handleFault(const httplib::Request& req, httplib::Response& res);
  void handleState(httplib::Response& res) const;
};

FilingServer::FilingServer(ServerOptions options) : m_impl(std::make_unique<Impl>()) {
  m_impl->options = std::move(options);
}

FilingServer::~FilingServer() {
  stop();
}

void FilingServer::start() {
  Impl& d = *m_impl;
  if (d.server) throw Error("the filing server is already running");
  d.authority = std::make_unique<TestAuthority>();
  if (!d.options.caFile.empty()) d.authority->writeCaCertificate(d.options.caFile);

  d.storeDir = d.options.storeDir;
  if (d.storeDir.empty()) {
    std::random_device random;
    d.ownStoreDir = std::filesystem::temp_directory_path() /
                    ("athup-filing-server-" + std::to_string(random()));
    d.storeDir = d.ownStoreDir;
  }
  std::filesystem::create_directories(d.storeDir / ".work");
  d.unpacker = std::make_unique<UploadUnpacker>(d.storeDir / ".work", d.options.maxDocumentBytes);

  TestAuthority* authority = d.authority.get();
  d.server = std::make_unique<httplib::SSLServer>([authority](SSL_CTX& ctx) {
    return SSL_CTX_use_certificate(&ctx, authority->serverCertificate()) == 1 &&
           SSL_CTX_use_PrivateKey(&ctx, authority->serverKey()) == 1 &&
           SSL_CTX_check_private_key(&ctx) == 1 &&
           SSL_CTX_set_min_proto_version(&ctx, TLS1_2_VERSION) == 1 &&
           (SSL_CTX_set_options(&ctx, SSL_OP_NO_COMPRESSION | SSL_OP_NO_RENEGOTIATION), true) &&
           (SSL_CTX_set_info_callback(&ctx, noteConnection), true);
  });
  if (!d.server->is_valid()) {
    d.server.reset();
    throw Error("the filing server cannot set up TLS");
  }
  d.server->set_payload_max_length(static_cast<std::size_t>(d.options.maxRequestBytes));
  // Connections are kept for many requests, so a client that reuses its connection can; a short
  // idle time keeps stop() quick while a client still holds one open.
  d.server->set_keep_alive_max_count(1000);
  d.server->set_keep_alive_timeout(2);
  d.route();

  d.port = d.options.port == 0
               ? d.server->bind_to_any_port("127.0.0.1")
               : (d.server->bind_to_port("127.0.0.1", d.options.port) ? d.options.port : -1);
  if (d.port <= 0) {
    d.server.reset();
    throw Error("the filing server cannot listen on 127.0.0.1:" + std::to_string(d.options.port));
  }
  httplib::SSLServer* server = d.server.get();
  d.thread = std::thread([server] { server->listen_after_bind(); });
  // Serving before returning: a stop() that came before the loop runs would be missed and
  // leave the thread listening for ever.
  while (!server->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void FilingServer::stop() {
  Impl& d = *m_impl;
  if (d.server) d.server->stop();
  if (d.thread.joinable()) d.thread.join();
  d.server.reset();
  if (!d.ownStoreDir.empty()) {
    std::error_code ignored;  // a temporary folder left behind is harmless at shutdown
    std::filesystem::remove_all(d.ownStoreDir, ignored);
    d.ownStoreDir.clear();
  }
}

int FilingServer::port() const {
  return m_impl->port;
}
std::string FilingServer::baseUrl() const {
  return "https://127.0.0.1:" + std::to_string(m_impl->port);
}
std::string FilingServer::caCertificatePem() const {
  return m_impl->authority ? m_impl->authority->caCertificatePem() : std::string();
}
FaultSwitches& FilingServer::faults() {
  return m_impl->faults;
}
const TaxpayerLedger& FilingServer::ledger() const {
  return m_impl->ledger;
}
const ServerOptions& FilingServer::options() const {
  return m_impl->options;
}

void FilingServer::Impl::route() {
  server->Get("/orbatt/ClientVersion.jsp",
              [this](const httplib::Request&, httplib::Response& res) { handleVersion(res); });
  server->Post("/orbatt/ClientVersion.jsp",
               [this](const httplib::Request&, httplib::Response& res) { handleVersion(res); });
  server->Post("/orbatt/orbAttachQuery", [this](const httplib::Request& req,
                                                httplib::Response& res) { handleQuery(req, res); });
  server->Post("/orbatt/orbAttachUpload",
               [this](const httplib::Request& req, httplib::Response& res,
                      const httplib::ContentReader& reader) { handleUpload(req, res, reader); });
  server->Post("/admin/fault", [this](const httplib::Request& req, httplib::Response& res) {
    handleFault(req, res);
  });
  server->Get("/admin/state",
              [this](const httplib::Request&, httplib::Response& res) { handleState(res); });
  server->set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
    // Everything stays on this machine, the admin endpoint above all.
    if (req.remote_addr == "127.0.0.1" || req.remote_addr == "::1") {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    res.status = 403;
    return httplib::Server::HandlerResponse::Handled;
  });
}

void FilingServer::Impl::sleepIfSlow() {
  if (const auto value = faults.take(Fault::Slow)) {
    int ms = 1000;
    try {
      if (!value->empty()) ms = std::stoi(*value);
    } catch (const std::exception&) {
      // a value that is no number keeps the default delay
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0)));
  }
}

bool FilingServer::Impl::answeredByPageFault(httplib::Response& res, bool htmlPage) {
  if (faults.take(Fault::NotFound)) {
    res.status = 404;
    res.set_content(
        "<html><head><title>404 Not Found</title></head><body><h1>404 Not Found</h1>"
        "</body></html>\r\n",
        "text/html");
    return true;
  }
  if (htmlPage && faults.take(Fault::HtmlPage)) {
    res.status = 503;
    res.set_content(common::utf8ToBig5Lossy("<html><head><title>系統維護中，請稍後再試</title>"
                                            "</head><body><h1>Service Unavailable</h1></body>"
                                            "</html>\r\n"),
                    kHtmlType);
    return true;
  }
  return false;
}

void FilingServer::Impl::sendDocument(httplib::Response& res, const ResponseDocument& document) {
  std::string body = document.big5Bytes();
  if (faults.take(Fault::MalformedXml)) body = malformed(body);
  res.set_content(body, kXmlType);
}

void FilingServer::Impl::handleVersion(httplib::Response& res) {
  sleepIfSlow();
  if (answeredByPageFault(res, false)) return;
  std::string body = "VERSION:" + options.version + "\r\n";
  if (!faults.take(Fault::VersionWithoutDate))
    body += "VERSION DATE:" + options.versionDate + "\r\n";
  res.set_content(body, "text/plain");
}

std::optional<Refusal> FilingServer::Impl::authenticate(const Lookup& field, bool forFile) const {
  const std::string ban = field("ban").value_or("");
  const std::string yearMon = field("yearMon").value_or("");
  const std::string certType = field("certtp").value_or("");
  if (!allDigits(ban, 8)) return Refusal{"E01", "統一編號錯誤"};
  if (!allDigits(yearMon, 5)) return Refusal{"E01", "資料年月錯誤"};
  if (certType != "1" && certType != "2") return Refusal{"E02", "憑證種類錯誤"};
  if (certType == "1") {
    const auto account = options.accounts.find(ban);
    const std::string& expected =
        account != options.accounts.end() ? account->second : options.defaultPassword;
    if (field("passwd").value_or("") != expected) return Refusal{"E03", "帳號或密碼錯誤"};
  }
  const Refusal badSeal{"E04", "簽章驗證失敗"};
  const auto text = sealText(certType, field("seal").value_or(""));
  if (!text) return badSeal;
  const auto values = splitSealText(*text, forFile);
  if (!values || !allDigits(values->six[0], 14) || values->six[1] != ban ||
      values->six[2] != yearMon) {
    return badSeal;
  }
  if (forFile && (!sameText(values->fileName, field("fileName").value_or("")) ||
                  !sameText(values->fileSubName, field("fileSubName").value_or("")))) {
    return badSeal;
  }
  return std::nullopt;
}

ResultHeader FilingServer::Impl::resultHeader(const std::string& ban, const std::string& yearMon,
                                              const Clock& clock,
                                              const std::optional<UploadRun>& run) {
  ResultHeader header;
  header.ban = ban;
  header.yearMon = yearMon;
  header.dailyMaximum = options.dailyMaximum;
  header.uploadsCounted = faults.take(Fault::DailyMaximum) ? options.dailyMaximum
                                                           : ledger.uploadsCounted(ban, clock.day);
  if (run) {
    const int announced = run->files.back().fileTotal;
    const int arrived = static_cast<int>(run->files.size());
    header.firstCount = announced;
    header.secondCount = arrived;
    header.status = arrived >= announced ? kStatusComplete : kStatusIncomplete;
    header.lastReceivedAt = run->files.back().receivedAt;
  }
  if (faults.take(Fault::Status6)) header.status = kStatusMissingFiles;
  if (faults.take(Fault::Status2Unequal)) {
    header.status = kStatusIncomplete;
    header.firstCount = std::max(header.firstCount, 1);
    header.secondCount = header.firstCount - 1;
  }
  if (faults.take(Fault::SerialCheckN)) header.serialCheck = 'N';
  if (faults.take(Fault::T02CheckN)) header.t02Check = 'N';
  if (faults.take(Fault::T08CheckN)) header.t08Check = 'N';
  return header;
}

void FilingServer::Impl::handleQuery(const httplib::Request& req, httplib::Response& res) {
  sleepIfSlow();
  if (answeredByPageFault(res, true)) return;
  const Clock clock = now();
  const FormBody form = FormBody::parse(req.body);
  const Lookup field = [&form](std::string_view name) { return form.value(name); };

  std::optional<Refusal> refusal = authenticate(field, false);
  if (!refusal) {
    if (const auto value = faults.take(Fault::Refuse)) refusal = refusalFromValue(*value, "E99");
  }
  if (refusal) {
    sendDocument(res, ResponseDocument("orbAttachQuery", refusal->code, refusal->msg, clock.stamp));
    return;
  }

  const std::string ban = *form.value("ban");
  const std::string yearMon = *form.value("yearMon");
  const auto run = ledger.latestRunWithFiles(ban);
  std::string text = headerLine(resultHeader(ban, yearMon, clock, run)) + "\r\n";
  if (run) {
    for (const auto& file : run->files) text += statusLine(file, kStatusAccepted) + "\r\n";
  }
  std::string list = encodeResultList(text);
  if (faults.take(Fault::ListNotBase64)) list = "!!! not base64 !!!";
  if (faults.take(Fault::ListNotZlib)) list = security::base64Line(text);

  ResponseDocument document("orbAttachQuery", "0", "作業成功", clock.stamp);
  document.addData("list", list);
  document.addData("updserial", ledger.issueSerial(ban, yearMon, clock.day));
  sendDocument(res, document);
}

void FilingServer::Impl::handleUpload(const httplib::Request& req, httplib::Response& res,
                                      const httplib::ContentReader& reader) {
  struct Part {
    std::string name;
    std::string fileName;
    std::string content;
  };
  std::vector<Part> parts;
  std::optional<std::uint64_t> dropAfter;
  if (const auto value = faults.take(Fault::DropUpload)) {
    dropAfter = 1;
    try {
      if (!value->empty()) dropAfter = std::max<std::uint64_t>(std::stoull(*value), 1);
    } catch (const std::exception&) {
      // a value that is no number drops after the first byte
    }
  }
  std::uint64_t received = 0;
  bool dropped = false;
  const auto receive = [&](const char* data, std::size_t size) {
    received += size;
    if (dropAfter && received >= *dropAfter) {
      dropConnection();
      dropped = true;
      return false;
    }
    if (!parts.empty()) parts.back().content.append(data, size);
    return true;
  };
  bool whole = false;
  if (req.is_multipart_form_data()) {
    whole = reader(
        [&parts](const httplib::MultipartFormData& part) {
          parts.push_back(Part{part.name, part.filename, {}});
          return true;
        },
        receive);
  } else {
    whole = reader(receive);
    parts.clear();
  }
  if (dropped) return;  // nothing more reaches the client
  sleepIfSlow();
  if (answeredByPageFault(res, true)) return;

  const Clock clock = now();
  const auto answer = [&](const std::string& code, const std::string& msg) {
    sendDocument(res, ResponseDocument("orbAttachUpload", code, msg, clock.stamp));
  };
  if (!whole || parts.empty()) {
    answer("E01", "上傳資料不完整");
    return;
  }
  const Lookup field = [&parts](std::string_view name) -> std::optional<std::string> {
    for (const auto& part : parts) {
      if (part.name == name) return part.content;
    }
    return std::nullopt;
  };
  if (const auto refusal = authenticate(field, true)) {
    answer(refusal->code, refusal->msg);
    return;
  }
  const std::string firstSeal = *field("seal");
  for (const auto& part : parts) {
    if (part.name == "seal" && part.content != firstSeal) {
      answer("E04", "簽章驗證失敗");
      return;
    }
  }
  if (const auto value = faults.take(Fault::RefuseUpload)) {
    const Refusal refusal = refusalFromValue(*value, "E99");
    answer(refusal.code, refusal.msg);
    return;
  }

  const std::string ban = *field("ban");
  const std::string serial = field("updSerial").value_or("");
  const auto run = ledger.run(serial);
  if (!run || run->ban != ban) {
    answer("E07", "上傳序號錯誤");
    return;
  }
  const std::string fileCd = field("fileCd").value_or("");
  if (fileCd != "02" && fileCd != "08" && fileCd != "14") {
    answer("E01", "附件類別錯誤");
    return;
  }
  const Part* upload = nullptr;
  for (const auto& part : parts) {
    if (part.name == "uploadFile") upload = &part;
  }
  if (upload == nullptr) {
    answer("E05", "未收到附件檔案");
    return;
  }
  const auto number = [&field](std::string_view name) -> std::optional<std::uint64_t> {
    const std::string text = field(name).value_or("");
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
      return std::nullopt;
    }
    return std::stoull(text);
  };
  const auto compressSize = number("compressSize");
  if (!compressSize || *compressSize != upload->content.size()) {
    answer("E05", "附件檔案大小(壓縮後)不符");
    return;
  }

  UploadUnpacker::Document document;
  try {
    document = unpacker->unpack(upload->content, ban);
  } catch (const std::exception&) {
    answer("E05", "附件檔案解密或解壓縮失敗");
    return;
  }
  const std::string fileName = field("fileName").value_or("");
  const std::string fileSubName = field("fileSubName").value_or("");
  if (document.name != common::big5ToUtf8(fileName + "." + fileSubName)) {
    answer("E05", "附件檔案名稱不符");
    return;
  }
  const auto fileSize = number("fileSize");
  if (!fileSize || *fileSize != document.content.size()) {
    answer("E06", "附件檔案大小不符");
    return;
  }
  const std::string crc = security::fileChecksumTrimmed(security::fileChecksum(document.content));
  if (upper(trimmed(field("crc").value_or(""))) != crc) {
    answer("E06", "附件檔案檢查碼不符");
    return;
  }

  const std::filesystem::path folder = storeDir / ban / serial;
  std::filesystem::create_directories(folder);
  const std::filesystem::path stored = folder / std::filesystem::u8path(document.name);
  {
    std::ofstream out(stored, std::ios::binary | std::ios::trunc);
    out << document.content;
    if (!out.flush()) {
      answer("E98", "主機存檔失敗");
      return;
    }
  }

  ReceivedFile file;
  file.fileCd = fileCd;
  file.fileNum1 = field("fileNum1").value_or("");
  file.fileNum2 = field("fileNum2").value_or("");
  file.fileName = fileName;
  file.fileSubName = fileSubName;
  file.fileSize = *fileSize;
  file.compressSize = *compressSize;
  file.crc = crc;
  file.fileNo = static_cast<int>(number("fileNo").value_or(0));
  file.fileTotal = static_cast<int>(number("fileTotal").value_or(0));
  file.receivedAt = clock.stamp;
  for (const auto& part : parts) file.partNames.push_back(part.name);
  file.storedAt = stored;
  if (!ledger.recordFile(serial, file)) {
    answer("E07", "上傳序號錯誤");
    return;
  }

  ResponseDocument reply("orbAttachUpload", "0", "檔案上傳成功", clock.stamp);
  reply.addData("updserial", serial);
  reply.addData("fileNo", std::to_string(file.fileNo));
  reply.addData("fileName", document.name);
  reply.addData("fileSize", std::to_string(file.fileSize));
  reply.addData("crc", crc);
  sendDocument(res, reply);
}

void FilingServer::Impl::handleFault(const httplib::Request& req, httplib::Response& res) {
  const std::string name = req.get_param_value("name");
  if (name == "clear") {
    faults.clearAll();
    res.set_content("all faults off\n", "text/plain");
    return;
  }
  const auto fault = FaultSwitches::byName(name);
  if (!fault) {
    res.status = 400;
    res.set_content("unknown fault: " + name + "\n", "text/plain");
    return;
  }
  int skip = 0;
  try {
    if (req.has_param("skip")) skip = std::stoi(req.get_param_value("skip"));
  } catch (const std::exception&) {
    res.status = 400;
    res.set_content("skip is no number\n", "text/plain");
    return;
  }
  if (req.get_param_value("off") == "1") {
    faults.clear(*fault);
    res.set_content(name + " off\n", "text/plain");
    return;
  }
  faults.set(*fault, req.get_param_value("value"), skip);
  res.set_content(name + " on\n", "text/plain");
}

void FilingServer::Impl::handleState(httplib::Response& res) const {
  std::string text;
  for (const auto& run : ledger.runs()) {
    text += "run " + run.serial + " " + run.ban + " " + run.yearMon +
            " files=" + std::to_string(run.files.size()) + "\n";
    for (const auto& file : run.files) {
      text += "file " + file.fileCd + " " + common::big5ToUtf8(file.fileName) + "." +
              common::big5ToUtf8(file.fileSubName) + " no=" + std::to_string(file.fileNo) + "/" +
              std::to_string(file.fileTotal) + " size=" + std::to_string(file.fileSize) +
              " crc=" + file.crc + " parts=";
      for (std::size_t i = 0; i < file.partNames.size(); ++i) {
        text += (i == 0 ? "" : ",") + file.partNames[i];
      }
      text += "\n";
    }
  }
  res.set_content(text, "text/plain; charset=utf-8");
}

}  // namespace athup::filing_server
