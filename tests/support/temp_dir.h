#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace athup::testing {

// A fresh folder under the system temporary folder, removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

  // Writes bytes to a file below the folder (creating parent folders) and returns its path.
  std::filesystem::path write(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path m_path;
};

// The whole content of a file as bytes; throws when it cannot be read.
std::string readFile(const std::filesystem::path& path);

}  // namespace athup::testing
