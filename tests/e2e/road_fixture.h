#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/certificate_session.h"
#include "app/ini_settings_store.h"
#include "filing_server_fixture.h"
#include "security/certificates/test_card_client.h"
#include "store/engine/database.h"
#include "support/scripted_interaction.h"
#include "upload/filing_context.h"
#include "upload/run/upload_run.h"

namespace athup::testing {

// One assigned document of the prepared taxpayer.
struct RoadDocument {
  std::string fileSeq;  // T02000121
  std::string subSeq;   // "0"
  std::string name;     // FILE_NM
  std::string ext;      // FILE_SUB_NM
  std::string content;
  std::filesystem::path path;
};

// A prepared period on a workstation beside the simulator: the period and code tables, a
// taxpayer whose T02 index rows have documents assigned and whose last return upload matches
// the index, the program's work, backup and report folders, a run log, and a certificate
// session answering through a scripted interaction.
class RoadTest : public FilingServerTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Adds a T02 index row (unless it exists) and one document assigned to it.
  RoadDocument& addDocument(const std::string& fileSeq, const std::string& subSeq,
                            const std::string& name, const std::string& ext,
                            const std::string& content);
  // The three documents in category "02" most tests send.
  void addThreeDocuments();

  // The context a prepared program would build for the period against the simulator.
  [[nodiscard]] upload::FilingContext context() const;
  // The run with the standard pre-upload request and index documents.
  [[nodiscard]] std::unique_ptr<upload::UploadRun> standardRun();
  // The run with a serial issued by the simulator directly (the password already given), for
  // tests of the sending alone.
  [[nodiscard]] std::unique_ptr<upload::UploadRun> sendingRun();

  // Plain files left in a folder (hidden ones too); none when it does not exist.
  [[nodiscard]] static std::vector<std::string> filesIn(const std::filesystem::path& folder);
  // The event texts of the run log, without their time stamps.
  [[nodiscard]] std::vector<std::string> runLogEvents() const;

  static constexpr const char* kT02Crc = "1A2B3C";
  static constexpr const char* kSuccessNo = "A1234567";

  std::filesystem::path m_program;
  std::filesystem::path m_work;
  std::filesystem::path m_backup;
  std::filesystem::path m_report;
  std::filesystem::path m_runLog;
  store::Database m_orbWin;
  store::Database m_orbCode;
  ScriptedInteraction m_ui;
  SystemClock m_clock;
  std::unique_ptr<app::IniSettingsStore> m_settings;
  security::TestCardClient m_card;
  std::unique_ptr<app::CertificateSession> m_certificate;
  std::vector<RoadDocument> m_documents;
};

}  // namespace athup::testing
