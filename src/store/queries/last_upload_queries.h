#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "store/engine/database.h"

namespace athup::store {

// How a filing file compares with the return upload of its period.
enum class LastUploadMatch {
  Matches,      // the checksum stored with the return upload is the file's
  Differs,      // the return carried a file of the type, but another one
  NotUploaded,  // no return upload, or none with a file of the type
};

// Lookups in the filing program's last-upload table of the period (alias ORBWIN).
class LastUploadQueries {
 public:
  explicit LastUploadQueries(Database& orbWin) : m_orbWin(orbWin) {}

  // The trimmed checksum column of the type ("T02", "T08", "TET") of the BAN's last return
  // upload in the period; empty when there is none or for another type.
  [[nodiscard]] std::string lastUploadCrc(std::string_view ban, std::string_view type,
                                          std::string_view period);
  // The trimmed checksum column of the type in the BAN's first last-upload row of any period;
  // empty when there is none or for another type.
  [[nodiscard]] std::string firstUploadCrc(std::string_view ban, std::string_view type);
  // HSN_CD of the BAN's first last-upload row; empty when there is none.
  [[nodiscard]] std::string lastUploadHsnCd(std::string_view ban);
  [[nodiscard]] std::string lastUploadSuccessNo(std::string_view ban, std::string_view period);
  // Whether the filing file at `path` is the one uploaded with the return. A file that cannot be
  // read raises athup::Error.
  [[nodiscard]] LastUploadMatch compareWithLastUpload(std::string_view ban, std::string_view type,
                                                      const std::filesystem::path& path,
                                                      std::string_view period);

 private:
  Database& m_orbWin;
};

}  // namespace athup::store
