#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/interaction.h"
#include "index/import/index_file_reader.h"
#include "store/engine/database.h"

namespace athup::index {

// Whom and what an import is for: the taxpayer, the category type ("T02", "T08", "TET"), the
// folder of the filing files (UTF-8, ending with a separator or not) and the period (five digits).
struct ImportRequest {
  std::string ban;
  std::string type;
  std::string folder;
  std::string period;
};

// What "edit the index" of a category ended in.
enum class EditOutcome {
  Imported,      // the filing file was imported; open the assignment window
  KeptExisting,  // the user kept the existing rows; open the assignment window on them
  Stopped,       // a message was shown and nothing changed; do not open the assignment window
};

// Step 1 of the attachment work: imports the lines of a taxpayer's filing file that need evidence
// into the category's index table. The import never loses the previous index: the file is found,
// compared with the return upload and read completely before the tables are touched, and then the
// category's index rows and files are replaced in one transaction. A refused file, a bad record or
// a failed write leaves the previous index and its assignments as they were.
class IndexImportFlow {
 public:
  IndexImportFlow(Interaction& interaction, store::Database& orbWin, store::Database& orbCode)
      : m_interaction(interaction), m_orbWin(orbWin), m_orbCode(orbCode) {}

  // Lines read so far while a file is imported (the window's status text, the CLI's progress).
  void setProgress(ReadProgress progress) { m_progress = std::move(progress); }

  // "附件索引編輯": when the category already has rows, asks whether to import again (No keeps
  // them); then imports.
  [[nodiscard]] EditOutcome editCategory(const ImportRequest& request);

  // Imports the category's filing file, replacing its rows. Returns false after showing why not.
  // `afterReimportQuestion` selects the return-header wording of the missing-file message.
  [[nodiscard]] bool importCategory(const ImportRequest& request,
                                    bool afterReimportQuestion = false);

  // "索引資料整批刪除": asks, then removes the taxpayer's category. False when declined or failed
  // (the failure is shown).
  [[nodiscard]] bool deleteCategoryAsked(std::string_view ban, std::string_view type);

  // The re-import question for a category whose display name is `name`.
  [[nodiscard]] static std::string reimportQuestion(std::string_view type, std::string_view name);

 private:
  void showWarnings(const std::vector<std::string>& warnings);

  Interaction& m_interaction;
  store::Database& m_orbWin;
  store::Database& m_orbCode;
  ReadProgress m_progress;
};

}  // namespace athup::index
