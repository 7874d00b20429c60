#include "upload/upload_serial.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "common/big5.h"
#include "common/local_time.h"
#include "common/workstation.h"
#include "filing_request_fixture.h"
#include "upload/query/filing_request.h"

namespace athup::testing {
namespace {

namespace fs = std::filesystem;

class UploadSerialTest : public FilingRequestTest {
 protected:
  upload::UploadSerial request(upload::CertificatePort& port) {
    return upload::requestUploadSerial(kBan, context, orbWin, port, interaction);
  }
  upload::UploadSerial request() { return request(certificate); }
};

TEST_F(UploadSerialTest, BothCertificateTypesGetASerialAndTheAnswerIsLoggedAndKept) {
  for (const auto& [type, secret] :
       {std::pair{"1", kPassword}, std::pair{"2", std::string("123456")}}) {
    interaction.shown.clear();
    answerCertificate(type, secret);
    const upload::UploadSerial serial = request();
    EXPECT_TRUE(serial.ok()) << type;
    EXPECT_EQ(serial.serial.size(), 14u) << serial.serial;  // the simulator's serials
    EXPECT_EQ(serial.uploadDate.size(), 14u);
    ASSERT_TRUE(serial.result.has_value());
    EXPECT_EQ(serial.result->header.ban, kBan);
    EXPECT_EQ(serial.result->header.status, "1");  // nothing received yet
    EXPECT_FALSE(serial.result->receiptFile.has_value());
    EXPECT_TRUE(interaction.messages().empty()) << interaction.messages().front();
  }
  const std::string kept = readFile(m_dir / "prog" / "UpldResult.XML");
  EXPECT_NE(kept.find("<Code>0</Code>"), std::string::npos);
  EXPECT_TRUE(kept.ends_with("\r\n"));
  const std::string log = runLog();
  EXPECT_NE(log.find("]：附件檔案上傳回傳代碼:0\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("]：附件檔案上傳回傳訊息:作業成功\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("]：附件檔案上傳回傳時間:2"), std::string::npos) << log;
  EXPECT_TRUE(fs::is_empty(context.workFolder));
}

TEST_F(UploadSerialTest, APasswordWithACommaOrABlankReachesTheServerWhole) {
  m_server->stop();
  filing_server::ServerOptions options;
  options.caFile = m_dir / "ca.pem";
  options.accounts[kBan] = "p, w x";
  m_server = std::make_unique<filing_server::FilingServer>(options);
  m_server->start();
  context.endpoints = upload::selectEndpoints(m_server->baseUrl().substr(8));

  FixedCertificate odd("p, w x");
  EXPECT_TRUE(request(odd).ok()) << ::testing::PrintToString(interaction.messages());
  FixedCertificate cut("p");
  EXPECT_EQ(request(cut).serial, "err");
  EXPECT_EQ(interaction.messages().back(), "帳號或密碼錯誤");
}

TEST_F(UploadSerialTest, TheSealTextAndTheBodyCarryTheirValuesInOrder) {
  clock.at = std::chrono::system_clock::from_time_t(0) + std::chrono::hours(24 * 365);
  FixedCertificate port("pw 1");
  upload::FilingRequest filing(context, orbWin, port, interaction);
  const std::string seal = filing.sealText(kBan);
  const std::tm t = common::localTimeParts(clock.at);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  EXPECT_EQ(seal, std::string(stamp) + "," + kBan + "," + kYearMon + ",A1234567,1A2B3C,4D5E6F");
  EXPECT_EQ(filing.body(kBan, "S+/="), "ban=" + kBan + "&certtp=1&passwd=pw 1&version=1.05" +
                                           "&versionDate=1080315&ostp=" + common::osVersionText() +
                                           "&clientIp=" + common::localIpText() +
                                           "&yearMon=" + kYearMon + "&isNew=Y&seal=S+/=");
  // Another taxpayer has no return upload: the checksums are empty.
  EXPECT_TRUE(filing.sealText("87654321").ends_with(",87654321," + kYearMon + ",,,"));
}

TEST_F(UploadSerialTest, RefusalsEndWithTheirMessage) {
  const struct {
    const char* fault;
    const char* value;
    const char* message;
  } cases[] = {
      {"daily-maximum", "", "已超過每日上傳最大次數 ( 005次)"},
      {"serial-check-n", "", "申報成功序號與DB查詢之序號不一致"},
      {"t02-check-n", "", "申報上傳的檔案(BAN.T02)與附件資料的來源檔不一致"},
      {"t08-check-n", "", "申報上傳的檔案(BAN.T08)與附件資料的來源檔不一致"},
      {"refuse", "E12:今日暫停受理", "今日暫停受理"},
  };
  for (const auto& c : cases) {
    setFault(c.fault, c.value);
    FixedCertificate port(kPassword);
    interaction.shown.clear();
    const upload::UploadSerial serial = request(port);
    EXPECT_EQ(serial.serial, "err") << c.fault;
    EXPECT_EQ(interaction.messages(), std::vector<std::string>{c.message}) << c.fault;
    setFault("clear");
  }
}

TEST_F(UploadSerialTest, AnAnswerWithoutAListOrAsAPageStopsWithoutASerial) {
  FixedCertificate port(kPassword);
  setFault("refuse", "0:作業成功");
  upload::UploadSerial serial = request(port);
  EXPECT_EQ(serial.serial, "");
  EXPECT_FALSE(serial.ok());
  EXPECT_TRUE(interaction.messages().empty());

  setFault("clear");
  setFault("html-page");
  fs::remove(m_dir / "prog" / "UpldResult.XML");
  serial = request(port);
  EXPECT_EQ(serial.serial, "");
  EXPECT_EQ(interaction.messages(), std::vector<std::string>{"系統維護中，請稍後再試"});
  EXPECT_FALSE(fs::exists(m_dir / "prog" / "UpldResult.XML"));

  setFault("clear");
  setFault("list-not-base64");
  interaction.shown.clear();
  serial = request(port);
  EXPECT_EQ(serial.serial, "err");
  ASSERT_EQ(interaction.messages().size(), 1u);
  EXPECT_TRUE(interaction.messages()[0].starts_with("Decompress error"))
      << interaction.messages()[0];
  EXPECT_TRUE(fs::is_empty(context.workFolder));
}

TEST_F(UploadSerialTest, NoAnswerIsLoggedAndReported) {
  FixedCertificate port(kPassword);
  m_server->stop();
  const upload::UploadSerial serial = request(port);
  EXPECT_EQ(serial.serial, "err");
  const auto messages = interaction.messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages.back(), "資料傳輸失敗，連線失敗，請確認網路連線狀況");
  EXPECT_NE(runLog().find("]：附件檔案上傳失敗:資料傳輸失敗"), std::string::npos);
}

TEST_F(UploadSerialTest, MissingFilingDataOnThisComputerStopsBeforeTheSeal) {
  orbWin.execute("UPDATE ORBDB1_LAST_UPLOAD SET T08_CRC = ' '");
  FixedCertificate port(kPassword);
  EXPECT_TRUE(request(port).ok());  // no T08 documents: the blank checksum does not matter
  addDocument("T08");
  interaction.shown.clear();
  const upload::UploadSerial serial = request(port);
  EXPECT_EQ(serial.serial, "");
  EXPECT_EQ(
      interaction.messages(),
      std::vector<std::string>{"本電腦無統一編號[12345678]的\"零稅率非經海關\"或\"固定資產退稅"
                               "清單\"之申報上傳資料，\r請確認是否執行過申營業稅程式報上傳作"
                               "業．"});
  EXPECT_EQ(port.sealTexts.size(), 1u);
  EXPECT_EQ(port.chosen, 2);
}

TEST_F(UploadSerialTest, ACompleteResultInTheAnswerWritesTheReceiptFile) {
  uploadRawFiles(2, 2);
  FixedCertificate port(kPassword);
  const upload::UploadSerial serial = request(port);
  ASSERT_TRUE(serial.ok());
  EXPECT_EQ(serial.result->header.status, "0");
  EXPECT_EQ(serial.result->statusLines.size(), 2u);
  EXPECT_TRUE(fs::exists(context.reportFolder / (kBan + "11305.prn")));
}

}  // namespace
}  // namespace athup::testing
