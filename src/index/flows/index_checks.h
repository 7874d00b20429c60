#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/interaction.h"
#include "store/engine/database.h"

namespace athup::index {

// The checks an upload runs before it sends a taxpayer's documents: the index still describes the
// return uploaded last, every T02 and T08 row has a document, and every document is still on disk
// as it was when assigned.
class IndexChecks {
 public:
  // Asks where the filing files lie (the folder window); nullopt when cancelled.
  using FolderChooser = std::function<std::optional<std::string>()>;

  IndexChecks(Interaction& interaction, store::Database& orbWin, store::Database& orbCode,
              std::string period);

  // The folder question of the zero-rate confirmation; unset, the port's folder choice is used.
  void setFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

  // Compares, for T02, T08 and TET in turn, the checksum stored with the index rows with the one
  // recorded for the last return upload. Shows its own messages; false at the first failure.
  [[nodiscard]] bool checkIndexAgainstLastUpload(const std::string& ban);
  // Whether no T02 or T08 index row lacks a document (of anyone when the BAN is empty).
  [[nodiscard]] bool allRowsHaveFiles(std::string_view ban);
  // Empty when every document is on disk with its checksum; else the message for the first one
  // that is missing or changed.
  [[nodiscard]] std::string checkAttachedFiles(std::string_view ban);
  // The three checks in the upload's order; shows the message of the first failure.
  [[nodiscard]] bool runAll(const std::string& ban);

  static constexpr const char* kIncompleteMessage = "請檢查附件資料登錄是否完整！";

 private:
  [[nodiscard]] bool confirmZeroRate(const std::string& ban);
  void fail(const std::string& ban, const std::string& text);

  Interaction& m_interaction;
  store::Database& m_orbWin;
  store::Database& m_orbCode;
  std::string m_period;
  FolderChooser m_chooseFolder;
};

}  // namespace athup::index
