#include "upload/upload_serial.h"

#include <charconv>

#include "common/errors.h"
#include "common/run_log.h"
#include "common/text_helpers.h"
#include "upload/query/filing_request.h"

namespace athup::upload {
namespace {

constexpr std::string_view kMissingDataLastLine = "請確認是否執行過申營業稅程式報上傳作業．";
constexpr const char* kTransferFailed = "資料傳輸失敗，連線失敗，請確認網路連線狀況";

// A header count as a number; one that cannot be read counts as 0.
long countOf(const std::string& text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

bool isNo(const std::string& flag) {
  return flag == "N" || flag == "n";
}

// The message of the first consistency check the header fails; nullopt when it passes them all.
std::optional<std::string> failedCheck(const ResultHeader& header) {
  if (countOf(header.uploadsCounted) >= countOf(header.dailyMaximum))
    return "已超過每日上傳最大次數 ( " + header.dailyMaximum + "次)";
  if (isNo(header.serialCheck)) return std::string("申報成功序號與DB查詢之序號不一致");
  if (isNo(header.t02Check)) return std::string("申報上傳的檔案(BAN.T02)與附件資料的來源檔不一致");
  if (isNo(header.t08Check)) return std::string("申報上傳的檔案(BAN.T08)與附件資料的來源檔不一致");
  return std::nullopt;
}

}  // namespace

UploadSerial requestUploadSerial(const std::string& ban, const FilingContext& context,
                                 store::Database& orbWin, CertificatePort& certificate,
                                 Interaction& interaction) {
  UploadSerial outcome;
  const SystemClock systemClock;
  const Clock& clock = context.clock ? *context.clock : systemClock;
  const auto log = [&](const std::string& text) {
    common::appendRunLog(context.runLogFile, text, clock);
  };
  try {
    FilingRequest request(context, orbWin, certificate, interaction);
    const auto body = request.prepare(ban, kMissingDataLastLine);
    if (!body) return outcome;
    const std::string answer = request.post(*body);
    if (request.answeredWithHtml(answer)) return outcome;
    const auto document = request.keepAndLoad(answer, "UpldResult.XML");
    if (!document) {
      outcome.serial = "err";
      if (answer.empty()) {
        log("附件檔案上傳失敗:資料傳輸失敗");
        interaction.showMessage(MessageKind::Plain, kTransferFailed);
      }
      return outcome;
    }
    log("附件檔案上傳回傳代碼:" + document->code());
    log("附件檔案上傳回傳時間:" + document->date());
    log("附件檔案上傳回傳訊息:" + document->msg());
    if (document->code() != "0") {
      outcome.serial = "err";
      interaction.showMessage(MessageKind::Plain, document->msg());
      return outcome;
    }
    const std::string list = document->dataByName("list").value_or("");
    if (common::trimBlanks(list).empty()) return outcome;

    outcome.result = decodeResultList(list, ban, context.applyYM,
                                      ResultFilePlaces{context.workFolder, context.reportFolder});
    if (const auto message = failedCheck(outcome.result->header)) {
      outcome.serial = "err";
      interaction.showMessage(MessageKind::Plain, *message);
      return outcome;
    }
    outcome.uploadDate = document->date();
    outcome.serial = document->dataByName("updserial").value_or("");
    if (outcome.serial.empty()) interaction.showMessage(MessageKind::Plain, document->msg());
    return outcome;
  } catch (const Error& error) {
    // A result file that does not decode, a file that cannot be written: the run ends on it.
    interaction.showMessage(MessageKind::Error, error.what());
    outcome.serial = "err";
    return outcome;
  }
}

}  // namespace athup::upload
