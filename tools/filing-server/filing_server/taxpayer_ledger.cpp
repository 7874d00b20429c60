#include "filing_server/taxpayer_ledger.h"

#include <cstdio>

namespace athup::filing_server {

std::string TaxpayerLedger::issueSerial(const std::string& ban, const std::string& yearMon,
                                        const std::string& day) {
  const std::lock_guard lock(m_mutex);
  char number[16];
  std::snprintf(number, sizeof number, "%06d", ++m_sequence % 1000000);
  UploadRun run{day + number, ban, yearMon, day, {}};
  m_runs.push_back(run);
  return run.serial;
}

std::optional<UploadRun> TaxpayerLedger::run(const std::string& serial) const {
  const std::lock_guard lock(m_mutex);
  for (const auto& run : m_runs) {
    if (run.serial == serial) return run;
  }
  return std::nullopt;
}

bool TaxpayerLedger::recordFile(const std::string& serial, ReceivedFile file) {
  const std::lock_guard lock(m_mutex);
  for (auto& run : m_runs) {
    if (run.serial == serial) {
      run.files.push_back(std::move(file));
      return true;
    }
  }
  return false;
}

int TaxpayerLedger::uploadsCounted(const std::string& ban, const std::string& day) const {
  const std::lock_guard lock(m_mutex);
  int count = 0;
  for (const auto& run : m_runs) {
    if (run.ban == ban && run.day == day && !run.files.empty()) ++count;
  }
  return count;
}

std::optional<UploadRun> TaxpayerLedger::latestRunWithFiles(const std::string& ban) const {
  const std::lock_guard lock(m_mutex);
  for (auto it = m_runs.rbegin(); it != m_runs.rend(); ++it) {
    if (it->ban == ban && !it->files.empty()) return *it;
  }
  return std::nullopt;
}

std::vector<UploadRun> TaxpayerLedger::runs() const {
  const std::lock_guard lock(m_mutex);
  return m_runs;
}

}  // namespace athup::filing_server
