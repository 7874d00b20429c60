#include "upload/query/filing_request.h"

#include <cstdio>

#include "common/atomic_file.h"
#include "common/big5.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/local_time.h"
#include "common/text_helpers.h"
#include "common/workstation.h"
#include "store/queries/index_queries.h"
#include "store/queries/last_upload_queries.h"
#include "upload/form_transport.h"
#include "upload/text_between.h"

namespace athup::upload {
namespace {

std::string stampOf(std::chrono::system_clock::time_point when) {
  const std::tm t = common::localTimeParts(when);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

}  // namespace

FilingRequest::FilingRequest(const FilingContext& context, store::Database& orbWin,
                             CertificatePort& certificate, Interaction& interaction)
    : m_context(context),
      m_orbWin(orbWin),
      m_certificate(certificate),
      m_interaction(interaction) {}

std::string FilingRequest::missingDataMessage(const std::string& ban, std::string_view lastLine) {
  return "本電腦無統一編號[" + ban +
         "]的\"零稅率非經海關\"或\"固定資產退稅清單\"之申報上傳資料，\r" + std::string(lastLine);
}

std::optional<std::string> FilingRequest::prepare(const std::string& ban,
                                                  std::string_view missingDataLastLine) {
  m_certificate.chooseCertType();
  store::LastUploadQueries lastUpload(m_orbWin);
  store::IndexQueries index(m_orbWin);
  for (const char* type : {"T02", "T08"}) {
    if (common::trimBlanks(lastUpload.lastUploadCrc(ban, type, m_context.period)).empty() &&
        index.categoryHasFiles(ban, type)) {
      m_interaction.showMessage(MessageKind::Plain, missingDataMessage(ban, missingDataLastLine));
      return std::nullopt;
    }
  }
  const auto seal = m_certificate.makeSeal(sealText(ban), ban);
  if (!seal) return std::nullopt;
  return body(ban, *seal);
}

std::string FilingRequest::sealText(const std::string& ban) {
  store::LastUploadQueries lastUpload(m_orbWin);
  const SystemClock systemClock;
  const Clock& clock = m_context.clock ? *m_context.clock : systemClock;
  return stampOf(clock.now()) + "," + ban + "," + m_context.period + "," +
         lastUpload.lastUploadSuccessNo(ban, m_context.period) + "," +
         lastUpload.lastUploadCrc(ban, "T02", m_context.period) + "," +
         lastUpload.lastUploadCrc(ban, "T08", m_context.period);
}

std::string FilingRequest::body(const std::string& ban, const std::string& seal) const {
  return common::utf8ToBig5(
      "ban=" + ban + "&certtp=" + m_certificate.certType() +
      "&passwd=" + m_certificate.certPassword() +
      "&version=" + versionForServer(m_context.version) + "&versionDate=" + m_context.versionDate +
      "&ostp=" + common::osVersionText() + "&clientIp=" + common::localIpText() +
      "&yearMon=" + m_context.period + "&isNew=" + "Y" + "&seal=" + seal);
}

std::string FilingRequest::post(std::string_view body) {
  FormTransport transport(m_context.transport);
  const FormReply reply = transport.postFormRequest(m_context.endpoints.queryUrl, body);
  for (const auto& message : reply.messages) m_interaction.showMessage(MessageKind::Plain, message);
  return reply.body.value_or("");
}

bool FilingRequest::answeredWithHtml(std::string_view answer) {
  if (answer.find("<html>") == std::string_view::npos) return false;
  m_interaction.showMessage(MessageKind::Plain,
                            common::big5ToUtf8(textBetween(answer, "<title>", "</title>")));
  return true;
}

std::optional<ResponseDocument> FilingRequest::keepAndLoad(std::string_view answer,
                                                           std::string_view fileName) {
  common::writeFileAtomically(m_context.programFolder / common::pathFromUtf8(fileName),
                              std::string(answer) + "\r\n");
  try {
    return ResponseDocument::parse(answer);
  } catch (const Error& error) {
    m_interaction.showMessage(MessageKind::Plain, error.what());
    return std::nullopt;
  }
}

}  // namespace athup::upload
