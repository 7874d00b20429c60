#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/interaction.h"
#include "store/engine/database.h"

namespace athup::index {

// Step 2 of the attachment work for one taxpayer and category: assigns documents to index rows,
// clears them, and on leaving drops an index that received no document at all. Saving and
// clearing each run in one transaction, so a failure leaves the row's previous files.
class AssignmentFlow {
 public:
  AssignmentFlow(Interaction& interaction, store::Database& orbWin, std::string period,
                 std::string ban, std::string type);

  // The name the i-th document of a row is sent under: period, BAN, category code, the last four
  // characters of FILE_SEQ and i in two digits (113021234567802000700).
  [[nodiscard]] static std::string uploadFileName(std::string_view period, std::string_view ban,
                                                  std::string_view type, std::string_view fileSeq,
                                                  int index);
  // The total size of the chosen documents as found on disk; a missing one counts 0.
  [[nodiscard]] static std::int64_t chosenSize(const std::vector<std::string>& paths);

  // "存檔": replaces the row's documents by `paths` (UTF-8, in the order chosen). Nothing happens
  // for an empty list. Warns once per program run when the taxpayer's documents would exceed the
  // upload limit; No stops. Returns whether the row's documents were replaced.
  [[nodiscard]] bool save(std::string_view fileSeq, const std::vector<std::string>& paths);
  // "清除附件檔案": asks, then removes the row's documents. Returns whether they were removed.
  [[nodiscard]] bool clear(std::string_view fileSeq);
  // Closing the window: asks when some rows have no document; false keeps the window open.
  [[nodiscard]] bool mayLeave();
  // After the window closed: removes the category when none of its rows has a document. Returns
  // whether it was removed.
  bool dropCategoryWithoutFiles();

  [[nodiscard]] const std::string& ban() const { return m_ban; }
  [[nodiscard]] const std::string& type() const { return m_type; }

 private:
  Interaction& m_interaction;
  store::Database& m_orbWin;
  std::string m_period;
  std::string m_ban;
  std::string m_type;
};

}  // namespace athup::index
