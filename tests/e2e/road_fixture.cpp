#include "road_fixture.h"

#include <algorithm>

#include "common/big5.h"
#include "common/run_log.h"
#include "security/codecs/file_checksum.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "upload/index_documents/index_document_writer.h"

namespace athup::testing {

namespace fs = std::filesystem;

void RoadTest::SetUp() {
  FilingServerTest::SetUp();
  const fs::path db = m_dir / "DB";
  m_program = m_dir / "program";
  m_work = m_program / "TMP";
  m_backup = m_dir / "UpLoad" / "ATHBackUp" / kYearMon;
  m_report = m_dir / "UpLoad" / "ATHRpt" / kYearMon;
  m_runLog = m_program / "orb_Ath.log";
  for (const auto& folder : {db / "CODE", db / kYearMon, m_work, m_report}) {
    fs::create_directories(folder);
  }
  fs::permissions(m_work, fs::perms::owner_all);
  common::startRunLog(m_runLog, m_clock);

  m_orbCode.open("ORBCODE", db / "CODE");
  m_orbWin.open("ORBWIN", db / kYearMon);
  for (const auto table : store::codeFolderTables()) {
    store::createFilingProgramTable(m_orbCode, table);
  }
  store::createFilingProgramTable(m_orbWin, store::kLastUploadTable);
  ASSERT_TRUE(
      store::preparePeriodTables(m_orbWin, store::CatalogueLog{m_dir / "tables.log", m_clock})
          .empty());
  store::migrateOwnTables(m_orbWin);
  m_orbCode.execute(
      "INSERT INTO ORBDB1_APPLYER (BAN, BAN_NM_X30, VAT_LOSN_X9, HSN_CD) VALUES (:BAN, "
      "'測試商行', '123456789', 'A')",
      {{"BAN", kBan}});
  m_orbWin.execute(
      "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, HSN_CD, T02_CRC, T08_CRC, TET_CRC, "
      "UPD_SUCCESS_NO, FLG_DATE_X7) VALUES (:BAN, :P, 'A', :T02, '', '', :NO, '1130510')",
      {{"BAN", kBan}, {"P", kYearMon}, {"T02", kT02Crc}, {"NO", kSuccessNo}});

  m_settings = std::make_unique<app::IniSettingsStore>(m_dir / "settings.ini");
  m_certificate = std::make_unique<app::CertificateSession>(m_ui, m_card, *m_settings);
}

void RoadTest::TearDown() {
  m_certificate.reset();
  m_orbWin.close();
  m_orbCode.close();
  FilingServerTest::TearDown();
}

RoadDocument& RoadTest::addDocument(const std::string& fileSeq, const std::string& subSeq,
                                    const std::string& name, const std::string& ext,
                                    const std::string& content) {
  const bool rowExists =
      !m_orbWin
           .query("SELECT BAN FROM ORBDB_ATH_T02 WHERE BAN = :BAN AND FILE_SEQ = :SEQ",
                  {{"BAN", kBan}, {"SEQ", fileSeq}})
           .empty();
  if (!rowExists) {
    m_orbWin.execute(
        "INSERT INTO ORBDB_ATH_T02 (BAN, HSN_CD, VAT_LOSN_X9, DATA_YYMM_X5, INVO_YM, INVO_TRACK, "
        "BUYER_BAN, EXPORT_MODE, PCTS_MODE, BILL_OF_SIGHT_TP, BILL_OF_SIGHT_NO, ZTX_S_AMT, "
        "FGN_EXCH_DATE, FILE_SEQ, T02_CRC) VALUES (:BAN, 'A', '123456789', :P, '11303', "
        "'AB12345678', '22222222', '1', '2', 'D5', 'AA12345678901B', 125000, '1130315', :SEQ, "
        ":CRC)",
        {{"BAN", kBan}, {"P", kYearMon}, {"SEQ", fileSeq}, {"CRC", kT02Crc}});
  }
  RoadDocument document{fileSeq, subSeq, name, ext, content, {}};
  document.path = m_dir.write("docs/" + name + "." + ext, content);
  m_orbWin.execute(
      "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, SUB_SEQ, FILE_NM, FILE_SUB_NM, FILE_PATH_NM, "
      "FILE_SIZE, FILE_TP, FILE_CRC) VALUES (:BAN, :SEQ, :SUB, :NM, :EXT, :PATH, :SIZE, 'T02', "
      ":CRC)",
      {{"BAN", kBan},
       {"SEQ", fileSeq},
       {"SUB", subSeq},
       {"NM", name},
       {"EXT", ext},
       {"PATH", document.path.string()},
       {"SIZE", static_cast<double>(content.size())},
       {"CRC", security::FileChecksumCalculator().checksumText(document.path)}});
  m_documents.push_back(document);
  return m_documents.back();
}

void RoadTest::addThreeDocuments() {
  std::string pdf = "%PDF-1.4\n";
  for (int i = 0; i < 3000; ++i) pdf += static_cast<char>((i * 37 + i / 11) & 0xFF);
  addDocument("T02000121", "0", "出口報單01", "pdf", pdf + "one");
  addDocument("T02000122", "0", "invoice02", "jpg", std::string(20000, 'j'));
  addDocument("T02000123", "0", "invoice03", "pdf", pdf + "three");
}

upload::FilingContext RoadTest::context() const {
  upload::FilingContext context;
  context.period = kYearMon;
  context.applyYM = "11305";
  context.version = "105";
  context.versionDate = "1080315";
  context.endpoints.queryUrl = url("/orbatt/orbAttachQuery");
  context.endpoints.uploadUrl = url("/orbatt/orbAttachUpload");
  context.endpoints.clientVersionUrl = url("/orbatt/ClientVersion.jsp");
  context.transport.caFile = m_dir / "ca.pem";
  context.programFolder = m_program;
  context.workFolder = m_work;
  context.backupFolder = m_backup;
  context.reportFolder = m_report;
  context.runLogFile = m_runLog;
  context.clock = &m_clock;
  return context;
}

std::unique_ptr<upload::UploadRun> RoadTest::standardRun() {
  return std::make_unique<upload::UploadRun>(m_ui, *m_certificate, context(), m_orbWin, m_orbCode);
}

std::unique_ptr<upload::UploadRun> RoadTest::sendingRun() {
  // The password the pre-upload request would have asked for.
  m_ui.choices.push_back(kPassword);
  EXPECT_TRUE(m_certificate->askAccountPassword(kBan));
  upload::UploadSteps steps;
  steps.requestSerial = [this](const std::string&) {
    upload::UploadSerial serial;
    serial.serial = issueSerial();
    serial.uploadDate = "20240501093015";
    return serial;
  };
  steps.writeIndexDocuments = [this](const std::string& ban, const fs::path& folder,
                                     const std::string& serial, const std::string& date) {
    return upload::writeIndexDocuments(m_orbWin, ban, folder, kYearMon, serial, date);
  };
  return std::make_unique<upload::UploadRun>(m_ui, *m_certificate, context(), m_orbWin, m_orbCode,
                                             std::move(steps));
}

std::vector<std::string> RoadTest::filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  if (!fs::is_directory(folder, error)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> RoadTest::runLogEvents() const {
  const std::string text = common::big5ToUtf8(readFile(m_runLog));
  std::vector<std::string> events;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const auto mark = line.find("]：");
    if (!line.empty() && line[0] == '[' && mark != std::string::npos) {
      events.push_back(line.substr(mark + std::string("]：").size()));
    }
    start = end + 2;
  }
  return events;
}

}  // namespace athup::testing
