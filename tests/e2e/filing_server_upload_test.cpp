#include <gtest/gtest.h>

#include <functional>

#include "filing_server_fixture.h"
#include "security/codecs/base64.h"

namespace athup::testing {
namespace {

std::string sampleDocument(std::size_t size) {
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>((i * 131 + i / 7) & 0xFF);
  return bytes;
}

// The n-th "Data" item's text, counted from 0.
std::string dataAt(const std::string& document, int n) {
  std::size_t at = 0;
  for (int i = 0; i <= n; ++i) {
    at = document.find("<Data ", i == 0 ? 0 : at + 1);
    if (at == std::string::npos) return {};
  }
  const auto start = document.find('>', at) + 1;
  return document.substr(start, document.find("</Data>", start) - start);
}

TEST_F(FilingServerTest, UploadIsDecryptedUnpackedCheckedStoredAndShownInTheResultFile) {
  const std::string serial = issueSerial();
  const PreparedUpload document =
      prepareUpload(serial, "invoice01", "pdf", sampleDocument(5000), 1, 2);
  const HttpsReply first = send(document);
  ASSERT_EQ(first.code, CURLE_OK);
  ASSERT_EQ(elementText(first.body, "Code"), "0") << elementText(first.body, "Msg");
  EXPECT_EQ(elementText(first.body, "Msg"), "檔案上傳成功");
  ASSERT_GE(dataCount(first.body), 3);
  EXPECT_EQ(dataAt(first.body, 2), "invoice01.pdf");  // the client logs the third item
  EXPECT_EQ(readFile(m_dir / "store" / kBan / serial / "invoice01.pdf"), document.document);

  // The parts arrive in the order sent, the extra seal and the file part last.
  const auto run = m_server->ledger().run(serial);
  ASSERT_TRUE(run && run->files.size() == 1);
  std::vector<std::string> sent;
  for (const auto& field : document.fields) sent.push_back(field.name);
  sent.push_back("uploadFile");
  EXPECT_EQ(run->files[0].partNames, sent);

  // One of two files arrived: status "2" with unequal counts.
  auto lines = decodeList(dataValue(goodQuery().body, "list"));
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0].substr(22, 4), "0012");
  EXPECT_EQ(lines[0].substr(54, 6), "002001");

  const PreparedUpload index =
      prepareUpload(serial, kBan + "_02", "xml", "<?xml version=\"1.0\"?><index/>", 2, 2);
  ASSERT_EQ(elementText(send(index).body, "Code"), "0");
  lines = decodeList(dataValue(goodQuery().body, "list"));
  ASSERT_EQ(lines.size(), 3U);
  const std::string& header = lines[0];
  EXPECT_EQ(header.substr(22, 4), "0010");  // one upload counted, processing complete
  EXPECT_EQ(header.substr(32, 14), m_server->ledger().run(serial)->files.back().receivedAt);
  EXPECT_EQ(header.substr(54, 6), "002002");

  const std::string& line = lines[1];
  EXPECT_EQ(line.substr(0, 6), "ORB001");
  EXPECT_EQ(line.substr(6, 2), "02");
  EXPECT_EQ(line.substr(8, 4), "0123");
  EXPECT_EQ(line.substr(12, 2), "00");
  EXPECT_EQ(line.substr(14, 21), "invoice01            ");
  EXPECT_EQ(line.substr(35, 3), "pdf");
  EXPECT_EQ(line.substr(38, 20), "00000000000000005000");
  EXPECT_EQ(line.substr(58, 20), std::string(20 - std::to_string(document.enp.size()).size(), '0') +
                                     std::to_string(document.enp.size()));
  EXPECT_EQ(line.substr(78, 14), run->files[0].receivedAt);
  EXPECT_EQ(line.substr(106, 8),
            std::string(8 - document.fields[20].value.size(), ' ') + document.fields[20].value);
  EXPECT_EQ(line.substr(114), "主機作業處理完成(上傳成功)" + std::string(24, ' '));  // 50 bytes
  EXPECT_EQ(lines[2].substr(8, 6), std::string(6, ' '));  // the index document has no numbers
  EXPECT_EQ(lines[2].substr(14, 21), kBan + "_02" + std::string(10, ' '));
}

TEST_F(FilingServerTest, FaultyUploadsAreRefusedAndNotRecorded) {
  const std::string serial = issueSerial();
  const std::string content = sampleDocument(800);
  const auto sealFor = [](const std::string& name) {
    return security::base64Line("20240501093016," + kBan + "," + kYearMon +
                                ",A1234567,1A2B3C,4D5E6F," + name + ",pdf");
  };
  struct Case {
    const char* what;
    std::function<void(PreparedUpload&)> spoil;
    const char* code;
    const char* msg;
  };
  const Case cases[] = {
      {"wrong crc", [](PreparedUpload& u) { u.set("crc", "1234ABCD"); }, "E06",
       "附件檔案檢查碼不符"},
      {"wrong file size", [](PreparedUpload& u) { u.set("fileSize", "801"); }, "E06",
       "附件檔案大小不符"},
      {"wrong compressed size", [](PreparedUpload& u) { u.set("compressSize", "16"); }, "E05",
       "附件檔案大小(壓縮後)不符"},
      {"file damaged on the way",
       [](PreparedUpload& u) {
         u.enp[u.enp.size() / 2] = static_cast<char>(u.enp[u.enp.size() / 2] ^ 1);
       },
       "E05", "附件檔案解密或解壓縮失敗"},
      {"not an archive inside", [](PreparedUpload& u) { u.enp = std::string(u.enp.size(), 'x'); },
       "E05", "附件檔案解密或解壓縮失敗"},
      {"unknown serial", [](PreparedUpload& u) { u.set("updSerial", "20000101999999"); }, "E07",
       "上傳序號錯誤"},
      {"unknown category", [](PreparedUpload& u) { u.set("fileCd", "03"); }, "E01", "附件類別錯誤"},
      {"wrong password", [](PreparedUpload& u) { u.set("passwd", "nope1234"); }, "E03",
       "帳號或密碼錯誤"},
      {"seal of another file", [&](PreparedUpload& u) { u.set("seal", sealFor("other")); }, "E04",
       "簽章驗證失敗"},
      {"extra seal part differs",
       [&](PreparedUpload& u) { u.fields.back().value = sealFor("other"); }, "E04", "簽章驗證失敗"},
      {"fields name another file than the archive holds",
       [&](PreparedUpload& u) {
         u.set("fileName", "other");
         for (auto& f : u.fields) {
           if (f.name == "seal") f.value = sealFor("other");
         }
       },
       "E05", "附件檔案名稱不符"},
  };
  for (const auto& c : cases) {
    PreparedUpload upload = prepareUpload(serial, "doc", "pdf", content, 1, 1);
    c.spoil(upload);
    const HttpsReply reply = send(upload);
    EXPECT_EQ(elementText(reply.body, "Code"), c.code) << c.what;
    EXPECT_EQ(elementText(reply.body, "Msg"), c.msg) << c.what;
  }
  // Encrypted with another password than the BAN: the server cannot open it.
  const HttpsReply foreign = send(prepareUpload(serial, "doc", "pdf", content, 1, 1, "99999999"));
  EXPECT_EQ(elementText(foreign.body, "Code"), "E05");

  // A form post is no upload.
  EXPECT_EQ(
      elementText(m_client->postForm(url("/orbatt/orbAttachUpload"), "ban=" + kBan).body, "Code"),
      "E01");

  EXPECT_TRUE(m_server->ledger().run(serial)->files.empty());
  EXPECT_EQ(decodeList(dataValue(goodQuery().body, "list"))[0].substr(22, 4), "0001");
}

TEST_F(FilingServerTest, EmptyDocumentAndMaximumCompressionLevelRoundTrip) {
  const std::string serial = issueSerial();
  const PreparedUpload empty = prepareUpload(serial, "blank", "txt", "", 1, 1);
  const HttpsReply reply = send(empty);
  EXPECT_EQ(elementText(reply.body, "Code"), "0") << elementText(reply.body, "Msg");
  EXPECT_EQ(readFile(m_dir / "store" / kBan / serial / "blank.txt"), "");
}

}  // namespace
}  // namespace athup::testing
