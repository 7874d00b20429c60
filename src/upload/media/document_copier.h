#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "store/engine/database.h"

namespace athup::upload {

// Copies a taxpayer's assigned documents into its media folder under the names they are filed
// with (FILE_NM + "." + FILE_SUB_NM), by category T02, T08, TET. Each document is read once, its
// checksum compared with the one stored when it was assigned, and exactly those bytes written
// (atomically), so a copy is never of a document that changed after the check.
class DocumentCopier {
 public:
  DocumentCopier(store::Database& orbWin, store::Database& orbCode)
      : m_orbWin(orbWin), m_orbCode(orbCode) {}

  // Empty when every document was copied; otherwise why the first one that could not be copied
  // failed (missing, changed since it was assigned, not writable), and the documents after it are
  // left alone; copies already made stay. A missing folder raises athup::Error
  // "目的目錄不存在，請先建立!" before anything is copied; a failed query raises athup::Error.
  [[nodiscard]] std::string copyDocuments(std::string_view ban,
                                          const std::filesystem::path& folder);

 private:
  store::Database& m_orbWin;
  store::Database& m_orbCode;
};

}  // namespace athup::upload
