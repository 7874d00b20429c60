#include "index/flows/assignment_flow.h"

#include <filesystem>
#include <system_error>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "index/flows/upload_limit.h"
#include "security/codecs/file_checksum.h"
#include "store/queries/attachment_queries.h"
#include "store/queries/category_types.h"
#include "store/queries/index_queries.h"

namespace athup::index {

namespace {

constexpr const char* kBreak = "\n";

// The last three characters (not bytes) of the file name without its folder.
std::string lastThreeCharacters(std::string_view path) {
  std::string name = common::utf8FromPath(common::pathFromUtf8(path).filename());
  std::size_t start = name.size();
  for (int count = 0; count < 3 && start > 0;) {
    --start;
    if ((static_cast<unsigned char>(name[start]) & 0xC0) != 0x80) {
      ++count;
    }
  }
  return name.substr(start);
}

std::string limitQuestion() {
  return std::string("提醒您，設定的附件檔案超過申報上傳總限定值(") + "10" + "MB)" + kBreak +
         "如果您採媒體申報，請按[Yes] 本訊息在離開程式前將不再出現．" + kBreak +
         "若按[No] 則停止存檔，重新設定檔案．";
}

}  // namespace

AssignmentFlow::AssignmentFlow(Interaction& interaction, store::Database& orbWin,
                               std::string period, std::string ban, std::string type)
    : m_interaction(interaction),
      m_orbWin(orbWin),
      m_period(std::move(period)),
      m_ban(std::move(ban)),
      m_type(std::move(type)) {}

std::string AssignmentFlow::uploadFileName(std::string_view period, std::string_view ban,
                                           std::string_view type, std::string_view fileSeq,
                                           int index) {
  const std::string_view lastFour =
      fileSeq.size() > 4 ? fileSeq.substr(fileSeq.size() - 4) : fileSeq;
  std::string number = std::to_string(index);
  if (number.size() < 2) {
    number.insert(0, 1, '0');
  }
  return std::string(period) + std::string(ban) + store::categoryCodeOf(type) +
         std::string(lastFour) + number;
}

std::int64_t AssignmentFlow::chosenSize(const std::vector<std::string>& paths) {
  std::int64_t total = 0;
  for (const auto& path : paths) {
    std::error_code error;
    const auto size = std::filesystem::file_size(common::pathFromUtf8(path), error);
    if (!error) {
      total += static_cast<std::int64_t>(size);
    }
  }
  return total;
}

bool AssignmentFlow::save(std::string_view fileSeq, const std::vector<std::string>& paths) {
  if (paths.empty()) {
    return false;
  }
  try {
    if (!UploadLimit::acknowledged()) {
      const std::int64_t others =
          store::AttachmentQueries(m_orbWin).fileSizeTotalExcept(m_ban, fileSeq);
      if (chosenSize(paths) + others > UploadLimit::kBytes) {
        if (m_interaction.ask(MessageKind::Warning, limitQuestion(), {}, Buttons::YesNo) !=
            Answer::Yes) {
          return false;
        }
        UploadLimit::acknowledge();
      }
    }
    // Every document is measured before the row changes, so one that cannot be read leaves the
    // row's previous documents.
    const std::string extension = lastThreeCharacters(paths.front());
    std::vector<store::AssignedFile> files;
    security::FileChecksumCalculator checksum;
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const auto file = common::pathFromUtf8(paths[i]);
      std::error_code error;
      const auto size = std::filesystem::file_size(file, error);
      if (error) {
        throw Error("無法開啟指定的檔案\"" + paths[i] + "\".");
      }
      files.push_back(
          {std::to_string(i), uploadFileName(m_period, m_ban, m_type, fileSeq, static_cast<int>(i)),
           extension, paths[i], static_cast<std::int64_t>(size), checksum.checksumText(file)});
    }
    store::IndexQueries(m_orbWin).replaceRowFiles(m_ban, fileSeq, m_type, files);
    return true;
  } catch (const Error& error) {
    m_interaction.showMessage(MessageKind::Error, error.what());
    return false;
  }
}

bool AssignmentFlow::clear(std::string_view fileSeq) {
  if (m_interaction.ask(MessageKind::Information, "確認清除附件檔案的路徑與檔名？", {},
                        Buttons::YesCancel) != Answer::Yes) {
    return false;
  }
  try {
    store::IndexQueries(m_orbWin).clearRowFiles(m_ban, fileSeq);
    return true;
  } catch (const Error& error) {
    m_interaction.showMessage(MessageKind::Error, error.what());
    return false;
  }
}

bool AssignmentFlow::mayLeave() {
  if (store::AttachmentQueries(m_orbWin).rowsWithoutFiles(m_ban, m_type) == 0) {
    return true;
  }
  return m_interaction.ask(MessageKind::Information, "尚有細項未設定附件檔案，確定離開？", {},
                           Buttons::YesCancel) == Answer::Yes;
}

bool AssignmentFlow::dropCategoryWithoutFiles() {
  try {
    if (store::AttachmentQueries(m_orbWin).fileCount(m_ban, m_type) != 0) {
      return false;
    }
    store::IndexQueries(m_orbWin).deleteCategory(m_ban, m_type);
    return true;
  } catch (const Error& error) {
    m_interaction.showMessage(MessageKind::Error, error.what());
    return false;
  }
}

}  // namespace athup::index
