#include "upload/run/upload_fields.h"

#include <gtest/gtest.h>

#include "common/big5.h"
#include "common/errors.h"
#include "upload/run/upload_run.h"

namespace athup::upload {
namespace {

TEST(UploadFields, AreSentInTheServersOrderWithTheirValuesInBig5) {
  UploadFileFields f;
  f.ban = "12345678";
  f.certType = "1";
  f.password = "a b,c";  // sent whole, whatever it holds
  f.version = "1.05";
  f.versionDate = "1080315";
  f.osText = "2-6.1.55";
  f.clientIp = "10.0.0.5";
  f.yearMon = "11304";
  f.seal = "MjAyNA==";
  f.serial = "20240501000001";
  f.fileCd = "02";
  f.fileNum1 = "0123";
  f.fileNum2 = "00";
  f.fileNo = 3;
  f.fileTotal = 4;
  f.fileName = "出口報單";
  f.fileSubName = "pdf";
  f.fileSize = "5000";
  f.compressSize = 4144;
  f.crc = "1B948A57";
  const std::vector<std::string> expected = {"ban=12345678",
                                             "certtp=1",
                                             "passwd=a b,c",
                                             "version=1.05",
                                             "versionDate=1080315",
                                             "osTp=2-6.1.55",
                                             "clientIp=10.0.0.5",
                                             "yearMon=11304",
                                             "seal=MjAyNA==",
                                             "updSerial=20240501000001",
                                             "fileCd=02",
                                             "fileNum1=0123",
                                             "fileNum2=00",
                                             "fileNo=3",
                                             "fileTotal=4",
                                             "status=I",
                                             "fileName=" + common::utf8ToBig5("出口報單"),
                                             "fileSubName=pdf",
                                             "fileSize=5000",
                                             "compressSize=4144",
                                             "crc=1B948A57"};
  EXPECT_EQ(uploadFieldLines(f), expected);

  f.fileName = "emoji\xF0\x9F\x98\x80";  // no Big5 form: refused rather than sent mangled
  EXPECT_THROW((void)uploadFieldLines(f), Error);
}

TEST(UploadFields, FileNumbersComeFromTheSequences) {
  const std::pair<const char*, const char*> sequences[] = {
      {"T02000123", "0123"}, {"T08000001", "0001"}, {"123", "123"}, {"", ""}};
  for (const auto& [fileSeq, number] : sequences) {
    EXPECT_EQ(fileNumberOfSequence(fileSeq), number) << fileSeq;
  }
  const std::pair<const char*, const char*> subSequences[] = {
      {"0", "00"}, {"7", "07"}, {"12", "12"}, {"123", "123"}, {"", "00"}};
  for (const auto& [subSeq, number] : subSequences) {
    EXPECT_EQ(fileNumberOfSubSequence(subSeq), number) << subSeq;
  }
}

TEST(UploadRunTexts, StoppedAndCompletedMessages) {
  EXPECT_EQ(UploadRun::stoppedMessage(3), "已停止上傳，已上傳 3 個檔案，其餘未上傳。");
  EXPECT_EQ(UploadRun::stoppedMessage(-1), "已停止上傳，已上傳 0 個檔案，其餘未上傳。");
  EXPECT_EQ(UploadRun::completedMessage("12345678"),
            "統編( 12345678 )傳檔完成，請至[附件上傳結果查詢]取得上傳狀態．");
}

}  // namespace
}  // namespace athup::upload
