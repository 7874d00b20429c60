#include "upload/query/result_query.h"

#include <charconv>

#include "common/errors.h"
#include "common/text_helpers.h"
#include "store/queries/status_queries.h"
#include "upload/query/filing_request.h"

namespace athup::upload {
namespace {

constexpr std::string_view kMissingDataLastLine = "請確認是否執行過營業稅程式申報上傳作業．";
constexpr const char* kFilesMissing = "申報上傳的檔案有缺，請重新上傳．";
constexpr const char* kNotStored = "無法存入查詢結果!";

long countOf(const std::string& text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

}  // namespace

bool filesMissing(const ResultHeader& header) {
  if (header.status == "6") return true;
  return header.status == "2" && countOf(header.firstCount) != countOf(header.secondCount);
}

ResultQuery::ResultQuery(const FilingContext& context, store::Database& orbWin,
                         CertificatePort& certificate, Interaction& interaction,
                         TaxpayerLookup findTaxpayer)
    : m_context(context),
      m_orbWin(orbWin),
      m_certificate(certificate),
      m_interaction(interaction),
      m_findTaxpayer(std::move(findTaxpayer)) {}

std::optional<DecodedResult> ResultQuery::requestQueryResult(const std::string& ban) {
  FilingRequest request(m_context, m_orbWin, m_certificate, m_interaction);
  const auto body = request.prepare(ban, kMissingDataLastLine);
  if (!body) return std::nullopt;
  const std::string answer = request.post(*body);
  if (answer.empty()) return std::nullopt;  // the transport has shown why
  if (request.answeredWithHtml(answer)) return std::nullopt;
  const auto document = request.keepAndLoad(answer, "QueryResult.XML");
  if (!document) return std::nullopt;
  if (document->code() != "0") {
    m_interaction.showMessage(MessageKind::Plain, document->msg());
    return std::nullopt;
  }
  DecodedResult result =
      decodeResultList(document->dataByName("list").value_or(""), ban, m_context.applyYM,
                       ResultFilePlaces{m_context.workFolder, m_context.reportFolder});
  m_interaction.showMessage(MessageKind::Plain, document->msg());
  return result;
}

std::optional<QueryOutcome> ResultQuery::search(std::string_view typedBan) {
  QueryOutcome outcome;
  outcome.ban = common::trimBlanks(typedBan);
  if (outcome.ban.empty()) {
    m_interaction.showMessage(MessageKind::Plain, "請輸入統一編號");
    return std::nullopt;
  }
  if (m_findTaxpayer && !m_findTaxpayer(outcome.ban)) return std::nullopt;

  std::optional<DecodedResult> result;
  try {
    result = requestQueryResult(outcome.ban);
  } catch (const Error& error) {
    // A result file that does not decode: the taxpayer's stored lines stay as they were.
    m_interaction.showMessage(MessageKind::Error, error.what());
    return std::nullopt;
  }
  if (result) {
    outcome.header = result->header;
    outcome.answered = true;
  }

  store::StatusQueries status(m_orbWin);
  try {
    const auto refused = status.storeStatusLines(
        outcome.ban, result ? result->statusLines : std::vector<std::string>{});
    for (std::size_t i = 0; i < refused.size(); ++i)
      m_interaction.showMessage(MessageKind::Plain, kNotStored);
    outcome.statusLines = status.statusLines(outcome.ban);
  } catch (const Error& error) {
    // The table could not be written at all: its rows are as they were.
    m_interaction.showMessage(MessageKind::Error, error.what());
    return std::nullopt;
  }

  if (filesMissing(outcome.header)) m_interaction.showMessage(MessageKind::Plain, kFilesMissing);
  return outcome;
}

}  // namespace athup::upload
