#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "common/errors.h"
#include "filing_server_fixture.h"
#include "security/codecs/base64.h"
#include "upload/file_upload.h"
#include "upload/form_transport.h"
#include "upload/response_document.h"
#include "upload/tax_communication.h"

namespace athup::testing {
namespace {

using upload::FileUpload;
using upload::FormReply;
using upload::FormTransport;
using upload::TransportOptions;

constexpr const char* kSendFailed = "資料傳送失敗，請檢查網路連線或設定！";

// A plain HTTP server on loopback that records the request it gets and answers with a set body,
// for what the simulator cannot show: the exact request line and headers, odd answer sizes.
class RecordingServer {
 public:
  explicit RecordingServer(std::string answer) : m_answer(std::move(answer)) {
    m_server.Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
      m_method = req.method;
      m_target = req.target;
      m_version = req.version;
      m_body = req.body;
      m_headers.clear();
      for (const auto& [name, value] : req.headers) {
        if (name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" &&
            name != "LOCAL_PORT") {
          m_headers += name + ":" + value + "\n";
        }
      }
      res.set_content(m_answer, "text/plain");
    });
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~RecordingServer() {
    m_server.stop();
    m_thread.join();
  }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
  }

  std::string m_answer;
  std::string m_method, m_target, m_version, m_body, m_headers;

 private:
  httplib::Server m_server;
  int m_port = 0;
  std::thread m_thread;
};

// A loopback port nothing listens on: bound to learn a free number, then closed.
int closedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    ::close(fd);
    return 1;  // privileged and unused on a test machine
  }
  ::close(fd);
  return ntohs(address.sin_port);
}

class TransportTest : public FilingServerTest {
 protected:
  TransportOptions trusted() const { return {m_dir / "ca.pem", std::nullopt}; }
};

TEST_F(TransportTest, FormPostCarriesTheBodyAndTheAnswerParses) {
  FormTransport transport(trusted());
  const std::string body =
      queryBody(kBan, "1", kPassword, security::base64Line(requestSealText(kBan, kYearMon)));
  // The scheme is recognised in any letter case.
  const FormReply reply = transport.postFormRequest(
      "HTTPS://127.0.0.1:" + std::to_string(m_server->port()) + "/orbatt/orbAttachQuery", body);
  ASSERT_TRUE(reply.body) << (reply.messages.empty() ? "" : reply.messages.back());
  const auto document = upload::ResponseDocument::parse(*reply.body);
  EXPECT_EQ(document.code(), "0") << document.msg();
  EXPECT_FALSE(document.dataByName("updserial").value_or("").empty());
  EXPECT_FALSE(document.dataByName("list").value_or("").empty());
}

TEST_F(TransportTest, RequestLineHeadersAndBodyAreExact) {
  RecordingServer server("ok");
  FormTransport transport({});
  // Long enough to span several socket writes; the test server takes form bodies up to 8 KiB.
  std::string longBody(8000, 'x');
  longBody[7999] = 'y';
  for (const std::string& body : {std::string("a=1&b=2"), longBody, std::string()}) {
    const FormReply reply = transport.postFormRequest(server.url("\\a/b"), body);
    ASSERT_TRUE(reply.body);
    EXPECT_EQ(*reply.body, "ok");
    EXPECT_EQ(server.m_method, "POST");
    EXPECT_EQ(server.m_target, "\\a/b");
    EXPECT_EQ(server.m_version, "HTTP/1.0");
    EXPECT_TRUE(server.m_body == body) << server.m_body.size() << " bytes arrived";
    EXPECT_NE(server.m_headers.find("Content-Type:application/x-www-form-urlencoded\n"),
              std::string::npos)
        << server.m_headers;
    EXPECT_NE(server.m_headers.find("User-Agent:HTTPClientLink\n"), std::string::npos);
    EXPECT_EQ(server.m_headers.find("Accept:"), std::string::npos) << server.m_headers;
  }
}

TEST_F(TransportTest, AnswersArriveWholeAndEmptyIsEmpty) {
  std::string big;
  for (int i = 0; i < 10000; ++i) big += static_cast<char>('A' + i % 26);
  RecordingServer server(big);
  FormTransport transport({});
  FormReply reply = transport.postFormRequest(server.url("/q"), "x=1");
  ASSERT_TRUE(reply.body);
  EXPECT_EQ(*reply.body, big);
  server.m_answer.clear();
  reply = transport.postFormRequest(server.url("/q"), "x=1");
  ASSERT_TRUE(reply.body);
  EXPECT_TRUE(reply.body->empty());
  EXPECT_TRUE(reply.messages.empty());
}

TEST_F(TransportTest, WrongSchemeRaisesMessageU) {
  FormTransport transport(trusted());
  try {
    (void)transport.postFormRequest("ftp://127.0.0.1/a", "x=1");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "錯誤的 URL 型態，您輸入的 URL 為: \" ftp://127.0.0.1/a \" !!");
  }
}

TEST_F(TransportTest, UntrustedCertificateIsRefusedAndTheConfiguredAuthorityAccepted) {
  const std::string address = url("/orbatt/orbAttachQuery");
  FormTransport untrusted({});
  const FormReply refused = untrusted.postFormRequest(address, "ban=1");
  EXPECT_FALSE(refused.body);
  EXPECT_EQ(refused.internetErrorCode, 12045);
  ASSERT_EQ(refused.messages.size(), 2U);
  EXPECT_TRUE(refused.messages[0].starts_with("Error Code:12045(ERROR_INTERNET_INVALID_CA)"));
  EXPECT_EQ(refused.messages[1], kSendFailed);

  // The version request names the certificate problem rather than trying again unverified.
  const FormReply version = untrusted.requestVersionInfo(url("/orbatt/ClientVersion.jsp"));
  EXPECT_FALSE(version.body);
  ASSERT_EQ(version.messages.size(), 1U);
  EXPECT_NE(version.messages[0].find("錯誤碼(Error Code):12045"), std::string::npos);
  EXPECT_NE(version.messages[0].find("伺服器憑證未通過驗證"), std::string::npos);

  // An authority file that cannot be read refuses too.
  FormTransport missingFile({m_dir / "no-such-ca.pem", std::nullopt});
  EXPECT_FALSE(missingFile.postFormRequest(address, "ban=1").body);

  FormTransport trustedTransport(trusted());
  EXPECT_TRUE(trustedTransport.postFormRequest(address, "ban=1").body);
  EXPECT_TRUE(trustedTransport.requestVersionInfo(url("/orbatt/ClientVersion.jsp")).body);
}

TEST_F(TransportTest, ClosedPortGivesTheConnectTexts) {
  FormTransport transport({});
  const FormReply reply = transport.postFormRequest(
      "https://127.0.0.1:" + std::to_string(closedPort()) + "/orbatt/orbAttachQuery", "x=1");
  EXPECT_FALSE(reply.body);
  EXPECT_EQ(reply.messages, (std::vector<std::string>{"ErrorCodeToDo_12029", kSendFailed}));
}

TEST_F(TransportTest, ConnectionCheckOutcomes) {
  FileUpload component(trusted());
  std::vector<std::string> errors;
  component.setOnError([&](const std::string& text) { errors.push_back(text); });
  const auto check = [&](const std::string& checkUrl) {
    errors.clear();
    component.prepare({"a=1"}, checkUrl, "", 0, "", false, "", url("/orbatt/orbAttachUpload"));
    component.checkConnect();
    return component.isConnect();
  };

  EXPECT_TRUE(check(url("/orbatt/ClientVersion.jsp")));
  EXPECT_TRUE(errors.empty());

  setFault("version-without-date");
  EXPECT_FALSE(check(url("/orbatt/ClientVersion.jsp")));
  EXPECT_EQ(errors, std::vector<std::string>{"連線失敗，請確認網路連線是否正常!"});

  RecordingServer empty("");
  EXPECT_FALSE(check(empty.url("/orbatt/ClientVersion.jsp")));
  EXPECT_TRUE(errors.empty());

  EXPECT_FALSE(check("https://127.0.0.1:" + std::to_string(closedPort()) + "/v"));
  ASSERT_EQ(errors.size(), 1U);
  EXPECT_TRUE(
      errors[0].starts_with("網路連線失敗，請確認您的網路設定，是否設有防火牆且有開啟TCP "
                            "Port 443或被防毒軟體阻擋，或洽貴單位資訊人員！"));
  EXPECT_GT(errors[0].size(),
            std::string("網路連線失敗，請確認您的網路設定，是否設有防火牆且有開啟TCP "
                        "Port 443或被防毒軟體阻擋，或洽貴單位資訊人員！")
                .size());

  // A slow page times out after the test time-out.
  setFault("slow", "2000");
  component.setTimeOuts(200, false, 0);
  EXPECT_FALSE(check(url("/orbatt/ClientVersion.jsp")));
  ASSERT_EQ(errors.size(), 1U);
  EXPECT_NE(errors[0].find("timed out"), std::string::npos) << errors[0];
}

std::vector<std::string> fieldLines(const PreparedUpload& prepared) {
  std::vector<std::string> lines;
  // The last "seal" is the extra part the component adds itself.
  for (std::size_t i = 0; i + 1 < prepared.fields.size(); ++i) {
    lines.push_back(prepared.fields[i].name + "=" + prepared.fields[i].value);
  }
  return lines;
}

TEST_F(TransportTest, MultipartUploadSendsEveryFieldInOrderAndTheFile) {
  const std::string serial = issueSerial();
  const PreparedUpload prepared =
      prepareUpload(serial, "invoice01", "pdf", std::string(3000, 'q'), 1, 1);
  const auto file = m_dir.write("send/invoice01.enp", prepared.enp);

  upload::TaxCommunication communication(trusted());
  communication.sendFile(fieldLines(prepared), file.string(), url("/orbatt/ClientVersion.jsp"),
                         true, upload::ResultKind::Document, prepared.fields.back().value, "",
                         url("/orbatt/orbAttachUpload"));
  const auto& slots = communication.slots();
  ASSERT_TRUE(slots.errorText.empty()) << slots.errorText;
  ASSERT_TRUE(slots.resultDoc) << slots.parseError;
  EXPECT_EQ(slots.resultDoc->code(), "0") << slots.resultDoc->msg();
  EXPECT_EQ(slots.resultDoc->dataAt(2)->second, "invoice01.pdf");

  const auto run = m_server->ledger().run(serial);
  ASSERT_TRUE(run && run->files.size() == 1);
  std::vector<std::string> sent;
  for (const auto& field : prepared.fields) sent.push_back(field.name);
  sent.push_back("uploadFile");
  EXPECT_EQ(run->files[0].partNames, sent);

  // Without a check nothing is sent; a failed check leaves the document empty with its error.
  communication.sendFile(fieldLines(prepared), file.string(), url("/orbatt/ClientVersion.jsp"),
                         false, upload::ResultKind::Document, "", "",
                         url("/orbatt/orbAttachUpload"));
  EXPECT_FALSE(communication.slots().resultDoc);
  EXPECT_TRUE(communication.slots().errorText.empty());
  EXPECT_EQ(m_server->ledger().run(serial)->files.size(), 1U);
}

TEST_F(TransportTest, UploadFailuresEndInTheErrorEventOnly) {
  const std::string serial = issueSerial();
  const PreparedUpload prepared =
      prepareUpload(serial, "invoice02", "pdf", std::string(200000, 'r'), 1, 1);
  const auto file = m_dir.write("send/invoice02.enp", prepared.enp);
  FileUpload component(trusted());
  std::vector<std::string> errors;
  std::vector<std::string> done;
  component.setOnError([&](const std::string& text) { errors.push_back(text); });
  component.setOnDoneString([&](const std::string& text) { done.push_back(text); });
  const auto run = [&](const std::string& path, std::vector<std::string> fields) {
    errors.clear();
    done.clear();
    component.prepare(std::move(fields), url("/orbatt/ClientVersion.jsp"), "", 0, "", false, path,
                      url("/orbatt/orbAttachUpload"));
    component.upload();
  };

  run(file.string(), {});  // no fields: nothing sent, no event
  EXPECT_TRUE(errors.empty() && done.empty());

  run((m_dir / "missing.enp").string(), fieldLines(prepared));
  ASSERT_EQ(errors.size(), 1U);
  EXPECT_TRUE(errors[0].starts_with("上傳失敗，讀取檔案發生錯誤，請確認檔案是否正確!"));
  EXPECT_TRUE(done.empty());

  setFault("drop-upload", "1");
  run(file.string(), fieldLines(prepared));
  ASSERT_EQ(errors.size(), 1U) << (done.empty() ? "" : done[0]);
  EXPECT_TRUE(errors[0].starts_with("上傳失敗，連線已中斷，請確認網路連線狀況!")) << errors[0];
  setFault("clear");

  setFault("html-page");
  run(file.string(), fieldLines(prepared));
  ASSERT_EQ(errors.size(), 1U);
  EXPECT_EQ(errors[0], "上傳失敗!HTTP/1.1 503 Service Unavailable");
  setFault("clear");

  // The watchdog, when armed, stops an upload that outlasts its interval.
  setFault("slow", "3000");
  component.setTimeOuts(0, true, 300);
  component.setRandomSource([] { return 0L; });  // no jitter
  run(file.string(), fieldLines(prepared));
  ASSERT_EQ(errors.size(), 1U);
  EXPECT_TRUE(errors[0].starts_with("上傳失敗!")) << errors[0];
  EXPECT_TRUE(done.empty());
}

}  // namespace
}  // namespace athup::testing
