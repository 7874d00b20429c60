#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/interaction.h"
#include "store/engine/database.h"
#include "upload/certificate_port.h"
#include "upload/filing_context.h"
#include "upload/result/result_file_decoder.h"

namespace athup::upload {

// What one search left behind.
struct QueryOutcome {
  std::string ban;
  // The current header the receipt reads: replaced by a decoded answer, empty otherwise.
  ResultHeader header;
  // The taxpayer's stored status lines after the search, ordered by their full text.
  std::vector<std::string> statusLines;
  // The server answered "0" and its result file was decoded.
  bool answered = false;
};

// The search of the result window: asks the filing server for the taxpayer's result, decodes the
// result file it carries, replaces the taxpayer's stored status lines and warns about missing
// files. Every message goes through the port.
class ResultQuery {
 public:
  // Finds the taxpayer, reporting an unknown one itself; false stops the search.
  using TaxpayerLookup = std::function<bool(const std::string& ban)>;

  ResultQuery(const FilingContext& context, store::Database& orbWin, CertificatePort& certificate,
              Interaction& interaction, TaxpayerLookup findTaxpayer);

  // The search for the typed text. nullopt when it stopped before the taxpayer's lines were
  // touched: no BAN, an unknown taxpayer, or a result file that could not be decoded (the stored
  // lines then stay as they were).
  [[nodiscard]] std::optional<QueryOutcome> search(std::string_view typedBan);

  // The query request alone: the decoded result of a "0" answer, nullopt when the query brought
  // no result file (its messages shown). A result file that does not decode raises athup::Error.
  [[nodiscard]] std::optional<DecodedResult> requestQueryResult(const std::string& ban);

 private:
  const FilingContext& m_context;
  store::Database& m_orbWin;
  CertificatePort& m_certificate;
  Interaction& m_interaction;
  TaxpayerLookup m_findTaxpayer;
};

// Whether the header tells that files are missing: status "6", or "2" with the two file counts
// (as numbers, unreadable ones 0) different.
[[nodiscard]] bool filesMissing(const ResultHeader& header);

}  // namespace athup::upload
