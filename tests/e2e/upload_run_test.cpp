#include <gtest/gtest.h>

#include <algorithm>

#include "app/lookup_reports.h"
#include "common/big5.h"
#include "common/file_helpers.h"
#include "road_fixture.h"
#include "store/queries/taxpayer_queries.h"

namespace athup::testing {
namespace {

namespace fs = std::filesystem;
using upload::UploadOutcome;
using upload::UploadRun;

int count(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

TEST_F(RoadTest, DocumentsThenTheIndexDocumentGoWithTheirFieldsAndAreBackedUp) {
  addThreeDocuments();
  auto run = sendingRun();
  std::vector<upload::UploadProgress> seen;
  run->setObserver([&](const upload::UploadProgress& p) { seen.push_back(p); });

  const UploadOutcome outcome = run->runUpload(kBan);

  EXPECT_EQ(outcome.ending, UploadOutcome::Ending::Completed);
  EXPECT_EQ(outcome.done, 4);
  EXPECT_EQ(m_ui.messages(), std::vector<std::string>{UploadRun::completedMessage(kBan)});

  const auto runs = m_server->ledger().runs();
  ASSERT_EQ(runs.size(), 1U);
  const auto& files = runs[0].files;
  ASSERT_EQ(files.size(), 4U);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(files[i].fileNo, i + 1);
    EXPECT_EQ(files[i].fileTotal, 4);
    EXPECT_EQ(files[i].fileCd, "02");
  }
  for (int i = 0; i < 3; ++i) {
    const RoadDocument& document = m_documents[i];
    EXPECT_EQ(common::big5ToUtf8(files[i].fileName), document.name);
    EXPECT_EQ(files[i].fileSubName, document.ext);
    EXPECT_EQ(files[i].fileNum1, document.fileSeq.substr(5));
    EXPECT_EQ(files[i].fileNum2, "00");
    EXPECT_EQ(readFile(files[i].storedAt), document.content);
    EXPECT_EQ(readFile(m_backup / kBan / common::pathFromUtf8(document.name + "." + document.ext)),
              document.content);
  }
  EXPECT_EQ(files[2].fileNum1, "0123");  // FILE_SEQ T02000123, SUB_SEQ 0
  const auto& index = files[3];
  EXPECT_EQ(index.fileName, kBan + "_02");
  EXPECT_EQ(index.fileSubName, "xml");
  EXPECT_EQ(index.fileNum1, "");
  EXPECT_EQ(index.fileNum2, "");
  const std::string indexDocument = readFile(index.storedAt);  // UTF-8
  EXPECT_NE(indexDocument.find("<明細筆數>3</明細筆數>"), std::string::npos);
  EXPECT_NE(indexDocument.find("<上傳序號>" + runs[0].serial + "</上傳序號>"), std::string::npos);
  const std::vector<std::string> parts = {
      "ban",      "certtp",       "passwd",    "version",   "versionDate", "osTp",
      "clientIp", "yearMon",      "seal",      "updSerial", "fileCd",      "fileNum1",
      "fileNum2", "fileNo",       "fileTotal", "status",    "fileName",    "fileSubName",
      "fileSize", "compressSize", "crc",       "seal",      "uploadFile"};
  EXPECT_EQ(index.partNames, parts);

  // Nothing stays in the work folder; the backup holds the documents only.
  EXPECT_TRUE(filesIn(m_work).empty()) << filesIn(m_work).front();
  EXPECT_EQ(filesIn(m_backup / kBan).size(), 3U);

  const auto events = runLogEvents();
  EXPECT_EQ(count(events, "附件檔案上傳回傳代碼:0"), 4);
  EXPECT_EQ(count(events, "< 上傳成功>:檔案上傳成功"), 4);
  EXPECT_EQ(count(events, "附件檔案上傳回傳檔案名稱:invoice02.jpg"), 1);
  EXPECT_EQ(count(events, "附件檔案上傳回傳檔案名稱:" + kBan + "_02.xml"), 1);

  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().done, 4);
  EXPECT_EQ(seen.back().total, 4);
  EXPECT_EQ(seen.back().indexDocuments, 1);
  std::uint64_t compressed = 0;
  for (const auto& file : files) compressed += file.compressSize;
  EXPECT_EQ(seen.back().bytesSent, compressed);
}

TEST_F(RoadTest, TheButtonRunsTheWholeUploadAfterThePreUploadRequest) {
  addThreeDocuments();
  m_ui.choices.push_back(kPassword);  // certificate type 1 is the list's first item
  store::TaxpayerQueries taxpayers(m_orbCode);
  auto run = standardRun();
  run->setTaxpayerLookup([&](const std::string& ban) {
    return app::findTaxpayerOrReport(taxpayers, m_ui, ban).has_value();
  });

  const UploadOutcome outcome = run->run(kBan);

  EXPECT_EQ(outcome.ending, UploadOutcome::Ending::Completed);
  EXPECT_EQ(outcome.done, 4);
  EXPECT_EQ(m_ui.messages(), std::vector<std::string>{UploadRun::completedMessage(kBan)});
  const auto runs = m_server->ledger().runs();
  ASSERT_EQ(runs.size(), 1U);
  ASSERT_EQ(runs[0].files.size(), 4U);
  EXPECT_NE(readFile(runs[0].files[3].storedAt).find("<上傳序號>" + runs[0].serial + "</上傳序號>"),
            std::string::npos);
  EXPECT_TRUE(filesIn(m_work).empty());
}

TEST_F(RoadTest, ARefusedPreUploadRequestSendsNothing) {
  addThreeDocuments();
  setFault("daily-maximum");
  m_ui.choices.push_back(kPassword);

  const UploadOutcome outcome = standardRun()->runUpload(kBan);

  EXPECT_EQ(outcome.ending, UploadOutcome::Ending::Failed);
  EXPECT_EQ(outcome.done, -1);
  EXPECT_EQ(m_ui.messages().size(), 1U);
  for (const auto& run : m_server->ledger().runs()) EXPECT_TRUE(run.files.empty());
  EXPECT_TRUE(filesIn(m_work).empty());
  EXPECT_TRUE(filesIn(m_backup / kBan).empty());
}

TEST_F(RoadTest, RefusedSecondFileEndsTheRunWithItsMessage) {
  addThreeDocuments();
  // An earlier run's backup is replaced, not added to.
  m_dir.write("UpLoad/ATHBackUp/" + kYearMon + "/" + kBan + "/old.pdf", "old");
  setFault("refuse-upload", "E12:今日暫停受理", 1);

  const UploadOutcome outcome = sendingRun()->runUpload(kBan);

  EXPECT_EQ(outcome.ending, UploadOutcome::Ending::Failed);
  EXPECT_EQ(outcome.done, -1);
  EXPECT_EQ(m_ui.messages(), std::vector<std::string>{"今日暫停受理"});
  EXPECT_EQ(m_server->ledger().runs().at(0).files.size(), 1U);  // the third was never sent
  const std::vector<std::string> backups = {"invoice02.jpg",
                                            common::pathFromUtf8("出口報單01.pdf").string()};
  auto sorted = backups;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(filesIn(m_backup / kBan), sorted);
  EXPECT_TRUE(filesIn(m_work).empty());  // index documents and working files deleted
  const auto events = runLogEvents();
  EXPECT_EQ(count(events, "<附件檔案上傳失敗>:今日暫停受理"), 1);
  EXPECT_EQ(count(events, "附件檔案上傳回傳代碼:E12"), 1);
}

TEST_F(RoadTest, TransportFailuresAndMissingDocumentsEndTheRunAndCleanUp) {
  struct Case {
    const char* what;
    std::function<void()> spoil;
    std::string messageStart;
    int accepted;
  };
  // A first document large enough that the cut comes while it is still being sent.
  std::string noise(300000, '\0');
  unsigned state = 12345;
  for (char& byte : noise) byte = static_cast<char>((state = state * 1103515245U + 12345U) >> 24);
  addDocument("T02000121", "0", "scan01", "pdf", noise);
  addDocument("T02000122", "0", "scan02", "pdf", "second");
  const Case table[] = {
      {"connection dropped in the first upload", [&] { setFault("drop-upload", "4096"); },
       "上傳失敗", 0},
      {"server answers with a page", [&] { setFault("html-page", "", 1); }, "上傳失敗", 0},
      {"document gone from disk", [&] { fs::remove(m_documents[1].path); },
       "上傳中止, 因為找不到檔案:" + m_documents[1].path.string(), 1},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(c.what);
    setFault("clear");
    m_ui.shown.clear();
    c.spoil();
    const UploadOutcome outcome = sendingRun()->runUpload(kBan);
    EXPECT_EQ(outcome.ending, UploadOutcome::Ending::Failed);
    EXPECT_EQ(outcome.done, c.accepted);
    const auto messages = m_ui.messages();
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].rfind(c.messageStart, 0), 0U) << messages[0];
    EXPECT_TRUE(filesIn(m_work).empty());
  }
  int transportFailures = 0;
  for (const auto& event : runLogEvents()) {
    if (event.rfind("<附件檔案上傳失敗>:上傳失敗", 0) == 0) ++transportFailures;
  }
  EXPECT_EQ(transportFailures, 2);
}

TEST_F(RoadTest, AStopEndsTheRunWithTheCountAccepted) {
  addThreeDocuments();
  struct Case {
    const char* what;
    std::function<bool(const upload::UploadProgress&)> stopWhen;
    int accepted;
  };
  const Case cases[] = {
      {"between the second and the third file",
       [](const upload::UploadProgress& p) { return p.done == 2; }, 2},
      {"while the first file is on its way",
       [](const upload::UploadProgress& p) { return !p.currentFile.empty(); }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    m_ui.shown.clear();
    auto run = sendingRun();
    run->setObserver([&](const upload::UploadProgress& p) {
      if (c.stopWhen(p)) run->requestStop();
    });

    const UploadOutcome outcome = run->runUpload(kBan);

    EXPECT_EQ(outcome.ending, UploadOutcome::Ending::Stopped);
    EXPECT_EQ(outcome.done, c.accepted);
    EXPECT_EQ(m_ui.messages(), std::vector<std::string>{UploadRun::stoppedMessage(c.accepted)});
    EXPECT_EQ(m_server->ledger().runs().back().files.size(), static_cast<std::size_t>(c.accepted));
    EXPECT_TRUE(filesIn(m_work).empty());
  }
}

TEST_F(RoadTest, TheButtonChecksBeforeAnythingIsSent) {
  addThreeDocuments();
  store::TaxpayerQueries taxpayers(m_orbCode);
  struct Case {
    const char* what;
    std::string typedBan;
    std::function<void()> spoil;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"no BAN", "   ", [] {}, {"請輸入統一編號"}},
      {"unknown taxpayer", "99999999", [] {}, {"找不到營業人建檔資料"}},
      {"a row without a document",
       " " + kBan + " ",
       [&] {
         m_orbWin.execute(
             "INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ, T02_CRC) VALUES (:B, "
             "'T02000999', :C)",
             {{"B", kBan}, {"C", kT02Crc}});
       },
       {"請檢查附件資料登錄是否完整！"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    m_ui.shown.clear();
    c.spoil();
    auto run = sendingRun();
    run->setTaxpayerLookup([&](const std::string& ban) {
      return app::findTaxpayerOrReport(taxpayers, m_ui, ban).has_value();
    });
    const UploadOutcome outcome = run->run(c.typedBan);
    EXPECT_EQ(outcome.ending, UploadOutcome::Ending::NotStarted);
    EXPECT_EQ(m_ui.messages(), c.messages);
  }
  EXPECT_TRUE(m_server->ledger().runs().empty() || m_server->ledger().runs().back().files.empty());
}

}  // namespace
}  // namespace athup::testing
