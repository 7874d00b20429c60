#include "filing_server_fixture.h"

#include <curl/curl.h>
#include <zlib.h>

#include <stdexcept>

#include "common/big5.h"
#include "security/archive/archive.h"
#include "security/cipher/upload_cipher.h"
#include "security/codecs/base64.h"
#include "security/codecs/file_checksum.h"

namespace athup::testing {

std::string requestSealText(const std::string& ban, const std::string& yearMon) {
  return "20240501093015," + ban + "," + yearMon + ",A1234567,1A2B3C,4D5E6F";
}

std::string queryBody(const std::string& ban, const std::string& certType,
                      const std::string& password, const std::string& seal,
                      const std::string& yearMon) {
  return "ban=" + ban + "&certtp=" + certType + "&passwd=" + password +
         "&version=1.05&versionDate=1080315&ostp=Linux 6.1&clientIp=127.0.0.1&yearMon=" + yearMon +
         "&isNew=Y&seal=" + seal;
}

std::string elementText(const std::string& document, const std::string& element) {
  const std::string open = "<" + element + ">";
  const auto start = document.find(open);
  if (start == std::string::npos) return {};
  const auto end = document.find("</" + element + ">", start);
  if (end == std::string::npos) return {};
  return common::big5ToUtf8(document.substr(start + open.size(), end - start - open.size()));
}

std::string dataValue(const std::string& document, const std::string& name) {
  const std::string open = "<Data Name=\"" + name + "\">";
  const auto start = document.find(open);
  if (start == std::string::npos) return {};
  const auto end = document.find("</Data>", start);
  if (end == std::string::npos) return {};
  return common::big5ToUtf8(document.substr(start + open.size(), end - start - open.size()));
}

int dataCount(const std::string& document) {
  int count = 0;
  for (auto at = document.find("<Data "); at != std::string::npos;
       at = document.find("<Data ", at + 1)) {
    ++count;
  }
  return count;
}

std::vector<std::string> decodeList(const std::string& list) {
  const std::string zipped = security::base64DecodeText(list);
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) throw std::runtime_error("inflateInit");
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zipped.data()));
  stream.avail_in = static_cast<uInt>(zipped.size());
  std::string big5;
  char buffer[4096];
  int rc = Z_OK;
  while (rc == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    rc = inflate(&stream, Z_NO_FLUSH);
    big5.append(buffer, sizeof buffer - stream.avail_out);
    if (rc == Z_BUF_ERROR && stream.avail_in == 0) break;
  }
  inflateEnd(&stream);
  if (rc != Z_STREAM_END) throw std::runtime_error("not a zlib stream");
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < big5.size()) {
    auto end = big5.find("\r\n", start);
    if (end == std::string::npos) end = big5.size();
    lines.push_back(common::big5ToUtf8(big5.substr(start, end - start)));
    start = end + 2;
  }
  return lines;
}

void PreparedUpload::set(const std::string& name, const std::string& value) {
  for (auto& field : fields) {
    if (field.name == name) {
      field.value = value;
      return;
    }
  }
  ADD_FAILURE() << "no field " << name;
}

void FilingServerTest::SetUp() {
  filing_server::ServerOptions options;
  options.caFile = m_dir / "ca.pem";
  options.storeDir = m_dir / "store";
  options.defaultPassword = kPassword;
  options.accounts["87654321"] = "other999";
  options.dailyMaximum = 5;
  m_server = std::make_unique<filing_server::FilingServer>(options);
  m_server->start();
  m_client = std::make_unique<HttpsClient>(options.caFile);
}

void FilingServerTest::TearDown() {
  m_client.reset();
  m_server->stop();
}

HttpsReply FilingServerTest::goodQuery() {
  return query(
      queryBody(kBan, "1", kPassword, security::base64Line(requestSealText(kBan, kYearMon))));
}

std::string FilingServerTest::issueSerial() {
  const HttpsReply reply = goodQuery();
  EXPECT_EQ(elementText(reply.body, "Code"), "0");
  return dataValue(reply.body, "updserial");
}

PreparedUpload FilingServerTest::prepareUpload(const std::string& serial, const std::string& name,
                                               const std::string& ext, const std::string& content,
                                               int fileNo, int fileTotal,
                                               const std::string& cipherPassword) {
  const auto document =
      m_dir.write("work-" + std::to_string(fileNo) + "-" + name + "/" + name + "." + ext, content);
  const auto folder = document.parent_path();
  security::Archive archive;
  archive.setCompressionLevel(security::CompressionLevel::Maximum);
  std::filesystem::remove(folder / (name + ".zip"));
  archive.create(folder / (name + ".zip"));
  archive.addFile(document);
  archive.close();
  security::UploadCipher cipher;
  cipher.setPassword(cipherPassword);
  cipher.encryptFile(folder / (name + ".zip"));

  PreparedUpload upload;
  upload.document = content;
  upload.enpName = name + ".enp";
  upload.enp = cipher.resultText();
  const std::string seal = security::base64Line("20240501093016," + kBan + "," + kYearMon +
                                                ",A1234567,1A2B3C,4D5E6F," + name + "," + ext);
  const bool index = ext == "xml";
  upload.fields = {
      {"ban", kBan},
      {"certtp", "1"},
      {"passwd", kPassword},
      {"version", "1.05"},
      {"versionDate", "1080315"},
      {"osTp", "Linux 6.1"},
      {"clientIp", "127.0.0.1"},
      {"yearMon", kYearMon},
      {"seal", seal},
      {"updSerial", serial},
      {"fileCd", "02"},
      {"fileNum1", index ? "" : "0123"},
      {"fileNum2", index ? "" : "00"},
      {"fileNo", std::to_string(fileNo)},
      {"fileTotal", std::to_string(fileTotal)},
      {"status", "I"},
      {"fileName", name},
      {"fileSubName", ext},
      {"fileSize", std::to_string(content.size())},
      {"compressSize", std::to_string(upload.enp.size())},
      {"crc", security::fileChecksumTrimmed(security::fileChecksum(content))},
      {"seal", seal},
  };
  return upload;
}

HttpsReply FilingServerTest::send(const PreparedUpload& upload) {
  return m_client->postMultipart(url("/orbatt/orbAttachUpload"), upload.fields, upload.enpName,
                                 upload.enp);
}

void FilingServerTest::setFault(const std::string& name, const std::string& value, int skip) {
  CURL* curl = curl_easy_init();
  char* escaped = curl_easy_escape(curl, value.c_str(), static_cast<int>(value.size()));
  const std::string path =
      "/admin/fault?name=" + name + "&value=" + escaped + "&skip=" + std::to_string(skip);
  curl_free(escaped);
  curl_easy_cleanup(curl);
  const HttpsReply reply = m_client->postForm(url(path), "");
  ASSERT_EQ(reply.code, CURLE_OK);
  ASSERT_EQ(reply.status, 200) << reply.body;
}

}  // namespace athup::testing
