#include "receipts/receipt_batch.h"

#include <cstdio>
#include <ctime>
#include <system_error>

#include "common/errors.h"
#include "common/local_time.h"
#include "upload/result/result_file_decoder.h"

namespace athup::receipts {

namespace fs = std::filesystem;

namespace {

std::string todayText(const Clock& clock) {
  const std::tm parts = common::localTimeParts(clock.now());
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                parts.tm_mday);
  return buffer;
}

}  // namespace

bool ReceiptBatch::run(const std::vector<std::string>& bans, ReceiptOutput& output) {
  for (const std::string& ban : bans) {
    bool printed = false;
    try {
      printed = printOne(ban, output);
    } catch (...) {
      cleanUp(ban);
      throw;
    }
    cleanUp(ban);
    if (!printed) {
      return false;
    }
  }
  return true;
}

bool ReceiptBatch::printOne(const std::string& ban, ReceiptOutput& output) {
  const fs::path file = upload::receiptFilePath(m_places.reportFolder, ban, m_places.applyYM);
  std::error_code error;
  if (!fs::exists(file, error)) {
    return true;  // removed since it was listed: nothing to print
  }
  upload::DecodedResult decoded;
  try {
    decoded = upload::decodeReceiptFile(file, ban, m_places.applyYM);
  } catch (const Error& failure) {
    m_ui.showMessage(MessageKind::Error, failure.what());
    m_ui.showMessage(MessageKind::Error, "統編：" + ban + " 收執聯檔案解密失敗!");
    return false;
  }
  const std::vector<std::string> unstored =
      m_sources.status.storeStatusLines(ban, decoded.statusLines);
  if (!unstored.empty()) {
    // The receipt would silently miss these files; say so, as the result window does.
    m_ui.showMessage(MessageKind::Error, "無法存入查詢結果!");
  }
  output.output(layoutReceipt(contentFor(ban, decoded.header)));
  return true;
}

ReceiptContent ReceiptBatch::contentFor(const std::string& ban,
                                        const upload::ResultHeader& header) {
  ReceiptInputs inputs;
  inputs.header = header;
  inputs.statusLines = m_sources.status.statusLines(ban);
  inputs.taxpayer = m_sources.taxpayers.findTaxpayer(ban);
  inputs.hsnCd = m_sources.lastUploads.lastUploadHsnCd(ban);
  inputs.applyYM = m_places.applyYM;
  inputs.todayYYYYMMDD = todayText(m_clock);
  return buildReceiptContent(inputs);
}

void ReceiptBatch::cleanUp(const std::string& ban) {
  m_sources.status.deleteStatusLines(ban);
  std::error_code error;
  fs::remove(m_places.reportFolder / (ban + m_places.applyYM + ".dprn"), error);
}

}  // namespace athup::receipts
