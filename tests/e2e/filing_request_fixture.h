#pragma once

#include <filesystem>
#include <string>

#include "app/certificate_session.h"
#include "app/ini_settings_store.h"
#include "common/big5.h"
#include "common/clock.h"
#include "common/run_log.h"
#include "filing_server_fixture.h"
#include "security/certificates/test_card_client.h"
#include "security/codecs/base64.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/engine/database.h"
#include "support/scripted_interaction.h"
#include "upload/endpoints.h"
#include "upload/filing_context.h"

namespace athup::testing {

// A moment fixed for the seal texts and the run log.
class FixedClock final : public Clock {
 public:
  std::chrono::system_clock::time_point now() const override { return at; }
  std::chrono::system_clock::time_point at = std::chrono::system_clock::now();
};

// A certificate that needs no dialog: type "1" with a given password, seals as the password
// dialog would make them.
class FixedCertificate final : public upload::CertificatePort {
 public:
  explicit FixedCertificate(std::string password) : m_password(std::move(password)) {}
  void chooseCertType() override { ++chosen; }
  const std::string& certType() const override { return m_type; }
  const std::string& certPassword() const override { return m_password; }
  std::optional<std::string> makeSeal(std::string_view text, const std::string&) override {
    sealTexts.emplace_back(text);
    return security::base64Line(text);
  }
  std::optional<std::string> makeUploadSeal(std::string_view text) override {
    return security::base64Line(text);
  }
  int chosen = 0;
  std::vector<std::string> sealTexts;

 private:
  std::string m_type = "1";
  std::string m_password;
};

// The simulator, a period database with the taxpayer's last return upload, the folders of a
// filing context pointing at the simulator, and the real certificate session on the test card.
class FilingRequestTest : public FilingServerTest {
 protected:
  void SetUp() override {
    FilingServerTest::SetUp();
    std::filesystem::create_directories(m_dir / "DB");
    std::filesystem::create_directories(m_dir / "prog");
    orbWin.open("ORBWIN", m_dir / "DB");
    store::createFilingProgramTable(orbWin, store::kLastUploadTable);
    ASSERT_TRUE(
        store::preparePeriodTables(orbWin, store::CatalogueLog{m_dir / "cat.log", clock}).empty());
    store::migrateOwnTables(orbWin);
    orbWin.execute(
        "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, HSN_CD, T02_CRC, T08_CRC, TET_CRC, "
        "UPD_SUCCESS_NO) VALUES (:BAN, :P, 'A', '1A2B3C', '4D5E6F', '777', 'A1234567')",
        {{"BAN", kBan}, {"P", kYearMon}});

    context.period = kYearMon;
    context.applyYM = "11305";
    context.version = "105";
    context.versionDate = "1080315";
    context.endpoints = upload::selectEndpoints(m_server->baseUrl().substr(8));
    context.transport.caFile = m_dir / "ca.pem";
    context.programFolder = m_dir / "prog";
    context.workFolder = m_dir / "prog" / "TMP";
    context.backupFolder = m_dir / "backup";
    context.reportFolder = m_dir / "report";
    context.runLogFile = m_dir / "prog" / "orb_Ath.log";
    context.clock = &clock;
    common::startRunLog(context.runLogFile, clock);
  }

  // Picks the certificate type in the dialog and queues the password or the PIN.
  void answerCertificate(const std::string& type, const std::string& secret) {
    interaction.items.push_back(type == "1" ? 0 : 1);
    interaction.choices.emplace_back(secret);
  }

  // Index rows with a document of the type, so the check for local filing data applies.
  void addDocument(const std::string& type) {
    orbWin.execute(
        "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, FILE_TP, SUB_SEQ) VALUES (:BAN, :SEQ, :TP, "
        "'0')",
        {{"BAN", kBan}, {"SEQ", type + "000001"}, {"TP", type}});
  }

  // Files the simulator received for the taxpayer's latest run, so results carry status lines.
  void uploadRawFiles(int files, int announced) {
    const std::string serial = issueSerial();
    for (int i = 1; i <= files; ++i) {
      const auto reply = send(prepareUpload(serial, "A0" + std::to_string(i), "jpg",
                                            "document " + std::to_string(i), i, announced));
      ASSERT_EQ(elementText(reply.body, "Code"), "0") << reply.body;
    }
  }

  std::string runLog() const {
    return common::big5ToUtf8(athup::testing::readFile(context.runLogFile));
  }

  FixedClock clock;
  store::Database orbWin;
  upload::FilingContext context;
  ScriptedInteraction interaction;
  app::IniSettingsStore settings{m_dir / "settings.ini"};
  security::TestCardClient card;
  app::CertificateSession certificate{interaction, card, settings};
};

}  // namespace athup::testing
