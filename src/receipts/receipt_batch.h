#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/interaction.h"
#include "receipts/receipt_content.h"
#include "receipts/receipt_output.h"
#include "store/queries/last_upload_queries.h"
#include "store/queries/status_queries.h"
#include "store/queries/taxpayer_queries.h"

namespace athup::receipts {

// The lookups a receipt is printed from.
struct ReceiptSources {
  store::StatusQueries& status;           // ORBWIN: the status lines while a receipt prints
  store::TaxpayerQueries& taxpayers;      // ORBCODE: name and registration number
  store::LastUploadQueries& lastUploads;  // ORBWIN: the office code for the stamp
};

struct ReceiptPlaces {
  std::filesystem::path reportFolder;  // gReportPath
  std::string applyYM;                 // gApplyYM
};

// Prints the receipts of chosen taxpayers from their receipt files: each file is decrypted, its
// status lines are stored for the taxpayer while the receipt is made and removed again
// afterwards, with the decrypted copy, whatever happened.
class ReceiptBatch {
 public:
  ReceiptBatch(ReceiptSources sources, ReceiptPlaces places, const Clock& clock,
               Interaction& interaction)
      : m_sources(sources), m_places(std::move(places)), m_clock(clock), m_ui(interaction) {}

  // Prints the taxpayers in order; a taxpayer whose file is gone is skipped. A file that does
  // not decrypt shows the cipher's message and "統編：<BAN> 收執聯檔案解密失敗!" and stops the
  // batch: returns false. A failure of the output propagates after the clean-up.
  [[nodiscard]] bool run(const std::vector<std::string>& bans, ReceiptOutput& output);

  // The content of one taxpayer's receipt from the stored lines and the file's header record.
  [[nodiscard]] ReceiptContent contentFor(const std::string& ban,
                                          const upload::ResultHeader& header);

 private:
  // Returns false after reporting a file that does not decrypt.
  [[nodiscard]] bool printOne(const std::string& ban, ReceiptOutput& output);
  void cleanUp(const std::string& ban);

  ReceiptSources m_sources;
  ReceiptPlaces m_places;
  const Clock& m_clock;
  Interaction& m_ui;
};

}  // namespace athup::receipts
