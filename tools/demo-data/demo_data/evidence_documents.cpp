#include "demo_data/evidence_documents.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "demo_data/pdf_document.h"
#include "demo_data/seeded_random.h"

namespace athup::demodata {
namespace {

std::string twoDigits(std::size_t n) {
  return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string grouped(std::int64_t value) {
  std::string digits = std::to_string(std::llabs(value));
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ",");
  return (value < 0 ? "-" : "") + digits;
}

std::string rocText(const std::string& date) {
  if (date.size() < 5) return date;
  std::string text = date.substr(0, 3) + "/" + date.substr(3, 2);
  if (date.size() >= 7) text += "/" + date.substr(5, 2);
  return text;
}

// The first page is the invoice; further pages are the papers that usually come with it.
PdfDocument scan(const std::string& title, std::vector<std::string> invoice, SeededRandom& random) {
  PdfDocument pdf(title);
  pdf.addPage(std::move(invoice));
  const auto extraPages = random.below(3);
  if (extraPages >= 1) {
    pdf.addPage({"Demo payment advice", "Remittance reference: " + random.digits(12),
                 "Settled in foreign exchange through the seller's bank.",
                 "This page belongs to: " + title});
  }
  if (extraPages >= 2) {
    pdf.addPage({"Demo delivery note", "Delivery note no. DN" + random.digits(8),
                 "Goods received in good order.", "This page belongs to: " + title});
  }
  return pdf;
}

}  // namespace

std::vector<EvidenceDocument> evidenceDocuments(const Scenario& scenario, std::uint64_t seed) {
  SeededRandom random(seed, "documents:" + scenario.gDataYM);
  std::vector<EvidenceDocument> documents;
  for (const TaxpayerFiling& filing : scenario.taxpayers) {
    const std::string& ban = filing.taxpayer.BAN;
    std::size_t n = 0;
    for (const T02Line& line : filing.t02) {
      if (line.PCTS_MODE != "1") continue;
      const std::string title = ban + " T02 line " + std::to_string(++n);
      documents.push_back(
          {ban + "_T02_" + twoDigits(n) + ".pdf",
           scan(title,
                {"Demo invoice", "Seller BAN: " + ban,
                 "Buyer BAN: " + (line.BUYER_BAN.empty() ? "(foreign buyer)" : line.BUYER_BAN),
                 "Invoice: " + line.INVO_TRACK + "   invoice month " + rocText(line.INVO_YM),
                 "Zero-rated sale, not cleared through customs",
                 "Amount (NTD): " + grouped(line.ZTX_S_AMT),
                 "Foreign exchange settled on " + rocText(line.FGN_EXCH_DATE)},
                random)
               .bytes()});
    }
    n = 0;
    for (const T08Line& line : filing.t08) {
      const std::string title = ban + " T08 line " + std::to_string(++n);
      documents.push_back(
          {ban + "_T08_" + twoDigits(n) + ".pdf",
           scan(title,
                {line.FA_REF_AMT < 0 ? "Demo sales allowance" : "Demo invoice", "Buyer BAN: " + ban,
                 "Invoice: " + line.INVO_TRACK_NO + "   dated " + rocText(line.INVO_DATE),
                 "Fixed asset, quantity " + std::to_string(line.FA_REF_QTY),
                 "Amount (NTD): " + grouped(line.FA_REF_AMT),
                 "Business tax (NTD): " + grouped(line.FA_REF_TAX)},
                random)
               .bytes()});
    }
    if (filing.hasTet) {
      PdfDocument pdf(ban + " declaration");
      pdf.addPage(
          {"Demo declaration", "Taxpayer BAN: " + ban,
           "Tax registration no.: " + filing.taxpayer.VAT_LOSN_X9,
           "Period: " + rocText(scenario.gDataYM),
           "Filed on " + rocText(filing.FLG_DATE_X7) + ", upload no. " + filing.UPD_SUCCESS_NO,
           "The taxpayer declares the return true and complete."});
      documents.push_back({ban + "_TET.pdf", pdf.bytes()});
    }
  }
  return documents;
}

}  // namespace athup::demodata
