#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "filing_server/filing_server.h"
#include "https_client.h"
#include "support/temp_dir.h"

namespace athup::testing {

inline const std::string kBan = "12345678";
inline const std::string kYearMon = "11304";
inline const std::string kPassword = "test1234";

// The six values of a request seal for a taxpayer and period.
std::string requestSealText(const std::string& ban, const std::string& yearMon);
// The pre-upload request and query body, exactly as the client builds it.
std::string queryBody(const std::string& ban, const std::string& certType,
                      const std::string& password, const std::string& seal,
                      const std::string& yearMon = kYearMon);

// Reading a response document without an XML parser: the text of the first element of that
// name, the value of the "Data" item of that name, how many "Data" items there are. Big5 texts
// come back as UTF-8.
std::string elementText(const std::string& document, const std::string& element);
std::string dataValue(const std::string& document, const std::string& name);
int dataCount(const std::string& document);

// base64 -> zlib -> Big5 -> UTF-8 lines; throws std::runtime_error when the stream is not zlib.
std::vector<std::string> decodeList(const std::string& list);

// One attachment ready to post: its document, the ".enp" bytes and the fields in send order.
struct PreparedUpload {
  std::string document;
  std::string enpName;
  std::string enp;
  std::vector<MultipartField> fields;
  // Replaces the value of the first field of that name (the extra "seal" part stays).
  void set(const std::string& name, const std::string& value);
};

class FilingServerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string url(const std::string& path) const { return m_server->baseUrl() + path; }
  HttpsReply query(const std::string& body) {
    return m_client->postForm(url("/orbatt/orbAttachQuery"), body);
  }
  // A good type "1" query; returns its answer.
  HttpsReply goodQuery();
  // The upload serial of a good query.
  std::string issueSerial();
  // A document archived with the project's archive and encrypted with the upload cipher and
  // `cipherPassword` (the BAN unless given).
  PreparedUpload prepareUpload(const std::string& serial, const std::string& name,
                               const std::string& ext, const std::string& content, int fileNo,
                               int fileTotal, const std::string& cipherPassword = kBan);
  HttpsReply send(const PreparedUpload& upload);
  // Switches a fault on through the admin endpoint.
  void setFault(const std::string& name, const std::string& value = "", int skip = 0);

  TempDir m_dir;
  std::unique_ptr<filing_server::FilingServer> m_server;
  std::unique_ptr<HttpsClient> m_client;
};

}  // namespace athup::testing
