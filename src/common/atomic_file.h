#pragma once

#include <filesystem>
#include <string_view>

namespace athup::common {

// Every temporary file this program writes beside a target starts with this prefix, so stale
// ones left by a crash can be recognised and removed at the next start.
inline constexpr std::string_view kTemporaryFilePrefix = ".athup-tmp-";

// Replaces a file atomically: the bytes go to a new temporary file beside the target, created
// exclusively (never through an existing name or link), with mode 0600 for a new file or the mode
// of the file it replaces; commit() flushes and syncs it, renames it over the target (a link at
// the target is replaced, not followed) and syncs the folder. On any failure, and when destroyed
// without commit(), the target is untouched and the temporary file removed.
//
// Errors throw athup::Error: 無法建立檔案 "<target>"。 when the temporary file cannot be created,
// 無法寫入檔案 "<target>"。 when writing, syncing or renaming fails. The folder must exist.
class AtomicFile {
 public:
  explicit AtomicFile(std::filesystem::path target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void write(std::string_view bytes);
  void commit();

  [[nodiscard]] const std::filesystem::path& target() const { return m_target; }
  [[nodiscard]] const std::filesystem::path& temporaryPath() const { return m_temporary; }

 private:
  [[noreturn]] void fail();
  void discard() noexcept;

  std::filesystem::path m_target;
  std::filesystem::path m_temporary;
  int m_fd = -1;
  bool m_committed = false;
};

// The one-shot form: the file holds exactly `bytes` afterwards, or is as it was.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace athup::common
