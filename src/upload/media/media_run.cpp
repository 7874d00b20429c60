#include "upload/media/media_run.h"

#include <filesystem>
#include <system_error>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/text_helpers.h"
#include "store/queries/index_queries.h"
#include "upload/index_documents/index_document_writer.h"
#include "upload/media/document_copier.h"

namespace athup::upload {

MediaRun::MediaRun(Interaction& interaction, store::Database& orbWin, store::Database& orbCode,
                   std::string period)
    : m_interaction(interaction),
      m_orbWin(orbWin),
      m_orbCode(orbCode),
      m_period(std::move(period)) {}

void MediaRun::warnWhenIncomplete() {
  if (!store::IndexQueries(m_orbWin).allRowsHaveFiles({})) {
    m_interaction.showMessage(MessageKind::Plain, kIncompleteWarning);
  }
}

std::string MediaRun::writeTaxpayer(const std::string& ban, const std::string& folder) {
  try {
    (void)writeIndexDocuments(m_orbWin, ban, common::pathFromUtf8(folder), m_period, {}, {});
    return DocumentCopier(m_orbWin, m_orbCode).copyDocuments(ban, common::pathFromUtf8(folder));
  } catch (const Error& error) {
    return error.what();
  }
}

MediaRunResult MediaRun::run(const std::vector<std::string>& bans, std::string_view destination) {
  MediaRunResult result;
  if (bans.empty()) {
    m_interaction.showMessage(MessageKind::Plain, kNothingPicked);
    result.stopped = true;
    return result;
  }
  const std::string trimmed = common::trimBlanks(destination);
  const std::string dest = common::withTrailingSeparator(trimmed);
  for (const auto& ban : bans) {
    std::error_code error;
    if (trimmed.empty() || !std::filesystem::is_directory(common::pathFromUtf8(dest), error)) {
      m_interaction.showMessage(MessageKind::Plain, kNoDestination);
      result.stopped = true;
      return result;
    }
    const std::filesystem::path folder = common::pathFromUtf8(dest + ban);
    if (!std::filesystem::is_directory(folder, error)) {
      std::filesystem::create_directory(folder, error);
      if (error) {
        m_interaction.showMessage(MessageKind::Error,
                                  "無法建立目錄 \"" + dest + ban + "\"。" + error.message());
        result.stopped = true;
        return result;
      }
    }
    const std::string failure = writeTaxpayer(ban, common::withTrailingSeparator(dest + ban));
    if (failure.empty()) {
      ++result.written;
    } else {
      ++result.failed;
      m_interaction.showMessage(MessageKind::Warning,
                                "統一編號 " + ban + " 的媒體檔未完成：\n" + failure);
    }
  }
  if (result.failed == 0) {
    m_interaction.showMessage(MessageKind::Plain, "產檔完成!\r目的資料夾：" + dest + bans.back() +
                                                      common::kPathSeparator);
  } else {
    m_interaction.showMessage(MessageKind::Warning,
                              "媒體檔產生未完成：" + std::to_string(result.written) +
                                  " 個單位已產生，" + std::to_string(result.failed) +
                                  " 個單位失敗。");
  }
  return result;
}

}  // namespace athup::upload
