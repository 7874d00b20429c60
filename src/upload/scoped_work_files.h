#pragma once

#include <filesystem>
#include <vector>

namespace athup::upload {

// Working files of an upload or a decoding that must not outlive it: each one named here is removed
// when the scope ends, however it ends. Files that were never made are simply absent.
class ScopedWorkFiles {
 public:
  ScopedWorkFiles() = default;
  explicit ScopedWorkFiles(std::vector<std::filesystem::path> files) : m_files(std::move(files)) {}
  ~ScopedWorkFiles();
  ScopedWorkFiles(const ScopedWorkFiles&) = delete;
  ScopedWorkFiles& operator=(const ScopedWorkFiles&) = delete;

  void add(std::filesystem::path file) { m_files.push_back(std::move(file)); }

 private:
  std::vector<std::filesystem::path> m_files;
};

}  // namespace athup::upload
