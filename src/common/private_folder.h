#pragma once

#include <filesystem>
#include <string_view>

namespace athup::common {

// Creates the folder and any missing parents with mode 0700 (folders that exist keep theirs).
// Throws athup::Error 無法建立目錄 "<folder>"。 when one cannot be created or is no folder.
void createPrivateFolder(const std::filesystem::path& folder);

// A new folder only this user can enter (mode 0700) under the system temporary folder, with a
// unique name starting with `prefix`; removed with everything in it on destruction. Work copies
// of the user's files go here rather than into the shared temporary folder.
class PrivateTempFolder {
 public:
  // Throws athup::Error 無法建立目錄 "<folder>"。 when no folder can be made.
  explicit PrivateTempFolder(std::string_view prefix);
  // The same below `parent` (made private first when it is missing): a run's working files get
  // a folder of their own, so runs at the same time never share a file name.
  PrivateTempFolder(std::string_view prefix, const std::filesystem::path& parent);
  ~PrivateTempFolder();
  PrivateTempFolder(const PrivateTempFolder&) = delete;
  PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

}  // namespace athup::common
