#include "store/queries/last_upload_queries.h"

#include "common/text_helpers.h"
#include "security/codecs/file_checksum.h"
#include "store/queries/category_types.h"

namespace athup::store {

std::string LastUploadQueries::lastUploadCrc(std::string_view ban, std::string_view type,
                                             std::string_view period) {
  const std::string column = crcColumnOf(type);
  if (column.empty()) {
    return {};
  }
  const ResultSet rows = m_orbWin.query(
      "SELECT * FROM ORBDB1_LAST_UPLOAD WHERE BAN = :BAN AND DATA_YYMM_X5 = :DATA_YYMM_X5 "
      "ORDER BY rowid",
      {{"BAN", std::string(ban)}, {"DATA_YYMM_X5", std::string(period)}});
  return rows.empty() ? std::string() : common::trimBlanks(rows.text(column));
}

std::string LastUploadQueries::firstUploadCrc(std::string_view ban, std::string_view type) {
  const std::string column = crcColumnOf(type);
  if (column.empty()) {
    return {};
  }
  const ResultSet rows =
      m_orbWin.query("SELECT * FROM ORBDB1_LAST_UPLOAD WHERE BAN = :BAN ORDER BY rowid",
                     {{"BAN", std::string(ban)}});
  return rows.empty() ? std::string() : common::trimBlanks(rows.text(column));
}

std::string LastUploadQueries::lastUploadHsnCd(std::string_view ban) {
  const ResultSet rows =
      m_orbWin.query("SELECT HSN_CD FROM ORBDB1_LAST_UPLOAD WHERE BAN = :BAN ORDER BY rowid",
                     {{"BAN", std::string(ban)}});
  return rows.empty() ? std::string() : rows.text("HSN_CD");
}

std::string LastUploadQueries::lastUploadSuccessNo(std::string_view ban, std::string_view period) {
  if (ban.empty()) {
    return {};
  }
  const ResultSet rows = m_orbWin.query(
      "SELECT UPD_SUCCESS_NO FROM ORBDB1_LAST_UPLOAD WHERE BAN = :BAN AND DATA_YYMM_X5 = "
      ":DATA_YYMM_X5 ORDER BY rowid",
      {{"BAN", std::string(ban)}, {"DATA_YYMM_X5", std::string(period)}});
  return rows.empty() ? std::string() : rows.text("UPD_SUCCESS_NO");
}

LastUploadMatch LastUploadQueries::compareWithLastUpload(std::string_view ban,
                                                         std::string_view type,
                                                         const std::filesystem::path& path,
                                                         std::string_view period) {
  const std::string stored = lastUploadCrc(ban, type, period);
  security::FileChecksumCalculator checksum;
  const std::string actual = common::trimBlanks(checksum.paddedChecksumText(path));
  if (stored.empty()) {
    return LastUploadMatch::NotUploaded;
  }
  return actual == stored ? LastUploadMatch::Matches : LastUploadMatch::Differs;
}

}  // namespace athup::store
