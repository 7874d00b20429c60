#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/engine/database.h"

namespace athup::store {

// One document to assign to an index row, with what was measured when it was chosen.
struct AssignedFile {
  std::string subSeq;    // SUB_SEQ: "0", "1", ...
  std::string fileName;  // FILE_NM: the name it is sent under
  std::string extension;
  std::string path;  // UTF-8
  std::int64_t size = 0;
  std::string crc;  // trimmed checksum text
};

// The index rows of each category and the documents assigned to them (alias ORBWIN). Writes that
// belong together run in one transaction, so a failure leaves the tables as they were.
class IndexQueries {
 public:
  explicit IndexQueries(Database& orbWin) : m_orbWin(orbWin) {}

  // The BAN's rows of the type's index table, in the order they were imported.
  [[nodiscard]] ResultSet indexRows(std::string_view ban, std::string_view type);
  [[nodiscard]] std::int64_t indexRowCount(std::string_view ban, std::string_view type);

  // Replaces the BAN's index rows of the type and every file assigned to that type by `rows`
  // (each a full set of column values), all or nothing.
  void replaceCategory(std::string_view ban, std::string_view type,
                       const std::vector<Params>& rows);
  // Removes the BAN's files of the type and its index rows of the type, together.
  void deleteCategory(std::string_view ban, std::string_view type);

  // The files of one index row, in the order they were assigned.
  [[nodiscard]] ResultSet rowFiles(std::string_view ban, std::string_view fileSeq);
  // Replaces the files of one index row by `files` (of the type), all or nothing.
  void replaceRowFiles(std::string_view ban, std::string_view fileSeq, std::string_view type,
                       const std::vector<AssignedFile>& files);
  void clearRowFiles(std::string_view ban, std::string_view fileSeq);
  // Files per FILE_SEQ of the BAN's rows of the type.
  [[nodiscard]] std::int64_t rowFileCount(std::string_view ban, std::string_view fileSeq);

  // The distinct trimmed values of the type's CRC column over the BAN's index rows.
  [[nodiscard]] std::vector<std::string> indexCrcs(std::string_view ban, std::string_view type);
  // Whether no T02 or T08 index row lacks a file: of the BAN, or of anyone when the BAN is empty.
  [[nodiscard]] bool allRowsHaveFiles(std::string_view ban);
  // The BAN's index rows of the type joined with their files, one row per document.
  [[nodiscard]] ResultSet attachedFiles(std::string_view ban, std::string_view type);

  [[nodiscard]] std::int64_t fileRowCount(std::string_view ban);
  // The codes of the BAN's distinct FILE_TP values among its files, joined with ",".
  [[nodiscard]] std::string categoryCodes(std::string_view ban);
  // The BAN's distinct FILE_TP values among its files.
  [[nodiscard]] std::vector<std::string> typesWithFiles(std::string_view ban);
  // Whether the BAN has a file of the type; true for any other type.
  [[nodiscard]] bool categoryHasFiles(std::string_view ban, std::string_view type);
  [[nodiscard]] std::int64_t statusLineCount(std::string_view ban, std::string_view code);

 private:
  Database& m_orbWin;
};

}  // namespace athup::store
