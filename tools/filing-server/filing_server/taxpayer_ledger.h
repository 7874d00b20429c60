#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace athup::filing_server {

// One file the server accepted. Texts are the field values as sent (Big5 bytes).
struct ReceivedFile {
  std::string fileCd;
  std::string fileNum1;
  std::string fileNum2;
  std::string fileName;
  std::string fileSubName;
  std::uint64_t fileSize = 0;
  std::uint64_t compressSize = 0;
  std::string crc;
  int fileNo = 0;
  int fileTotal = 0;
  std::string receivedAt;              // yyyymmddhhnnss
  std::vector<std::string> partNames;  // the multipart parts in the order they arrived
  std::filesystem::path storedAt;      // the unpacked document
};

// One upload serial: issued by a query request, then named by every file of that run.
struct UploadRun {
  std::string serial;
  std::string ban;
  std::string yearMon;
  std::string day;  // yyyymmdd of issue
  std::vector<ReceivedFile> files;
};

// What the server knows per taxpayer, shared by the request threads. The header and status lines
// of a result file are built from it: a run counts as an upload of its day once a file of it
// arrived, and the latest such run gives the status lines.
class TaxpayerLedger {
 public:
  // A new serial: the day followed by a six-digit sequence number.
  [[nodiscard]] std::string issueSerial(const std::string& ban, const std::string& yearMon,
                                        const std::string& day);
  [[nodiscard]] std::optional<UploadRun> run(const std::string& serial) const;
  // Adds an accepted file to its run; false when the serial is unknown.
  [[nodiscard]] bool recordFile(const std::string& serial, ReceivedFile file);

  [[nodiscard]] int uploadsCounted(const std::string& ban, const std::string& day) const;
  [[nodiscard]] std::optional<UploadRun> latestRunWithFiles(const std::string& ban) const;
  [[nodiscard]] std::vector<UploadRun> runs() const;

 private:
  mutable std::mutex m_mutex;
  std::vector<UploadRun> m_runs;  // in order of issue
  int m_sequence = 0;
};

}  // namespace athup::filing_server
