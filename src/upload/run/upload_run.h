#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/interaction.h"
#include "index/flows/index_checks.h"
#include "store/engine/database.h"
#include "upload/certificate_port.h"
#include "upload/filing_context.h"
#include "upload/run/upload_progress.h"
#include "upload/upload_serial.h"

namespace athup::upload {

class TaxCommunication;

// The two steps of a run that talk to other parts: the pre-upload request and the index
// documents. The standard ones are requestUploadSerial and writeIndexDocuments.
struct UploadSteps {
  std::function<UploadSerial(const std::string& ban)> requestSerial;
  std::function<std::vector<std::filesystem::path>(
      const std::string& ban, const std::filesystem::path& folder, const std::string& serial,
      const std::string& date)>
      writeIndexDocuments;
};

// The upload of one taxpayer's attachments: the checks, the pre-upload request, then for each
// category every document and the category's index document packed, encrypted with the BAN,
// sealed and posted; each answer logged, every sent document copied to the backup folder, the
// working files removed in every case. Shows every message through the port. The first failure
// ends the run; files already accepted stay accepted.
//
// run() may be called on a worker thread when the port is safe to call from it; requestStop()
// may then be called from any thread and takes effect between two files.
class UploadRun {
 public:
  // Whether the taxpayer exists; the lookup shows its own message when it does not.
  using TaxpayerLookup = std::function<bool(const std::string& ban)>;

  // With the standard pre-upload request and index documents.
  UploadRun(Interaction& interaction, CertificatePort& certificate, FilingContext context,
            store::Database& orbWin, store::Database& orbCode);
  UploadRun(Interaction& interaction, CertificatePort& certificate, FilingContext context,
            store::Database& orbWin, store::Database& orbCode, UploadSteps steps);
  ~UploadRun();
  UploadRun(const UploadRun&) = delete;
  UploadRun& operator=(const UploadRun&) = delete;

  void setTaxpayerLookup(TaxpayerLookup lookup) { m_findTaxpayer = std::move(lookup); }
  void setFolderChooser(index::IndexChecks::FolderChooser chooser) {
    m_chooseFolder = std::move(chooser);
  }
  void setObserver(UploadObserver observer) { m_observer = std::move(observer); }

  // Asks the run to stop before its next file (and to break off the file being sent).
  void requestStop() { m_stopRequested = true; }
  [[nodiscard]] bool stopRequested() const { return m_stopRequested; }

  // What the upload button does with the typed BAN: counts, checks, then uploads.
  [[nodiscard]] UploadOutcome run(const std::string& typedBan);
  // The upload proper, for a taxpayer that passed the checks.
  [[nodiscard]] UploadOutcome runUpload(const std::string& ban);

  static constexpr const char* kNoBanMessage = "請輸入統一編號";
  static constexpr const char* kTransferFailedMessage =
      "資料傳輸失敗，連線失敗，請確認網路連線狀況";

  // The message of a run the user stopped.
  [[nodiscard]] static std::string stoppedMessage(int accepted);
  // "統編( BAN )傳檔完成，..." after the last file.
  [[nodiscard]] static std::string completedMessage(const std::string& ban);

 private:
  struct Run;
  struct FileToSend;

  void sendCategory(Run& run, const std::string& code, const std::string& table);
  void sendFile(Run& run, const FileToSend& file);
  void transfer(Run& run, const FileToSend& file);
  void backUp(Run& run, const FileToSend& file);
  void checkStop() const;
  void report(const Run& run, std::string currentFile = {});
  void log(const std::string& text);

  Interaction& m_interaction;
  CertificatePort& m_certificate;
  FilingContext m_context;
  store::Database& m_orbWin;
  store::Database& m_orbCode;
  UploadSteps m_steps;
  TaxpayerLookup m_findTaxpayer;
  index::IndexChecks::FolderChooser m_chooseFolder;
  UploadObserver m_observer;
  std::atomic<bool> m_stopRequested{false};
  std::unique_ptr<TaxCommunication> m_communication;
};

}  // namespace athup::upload
