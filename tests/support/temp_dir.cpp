#include "support/temp_dir.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace athup::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "athup-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;  // a test that left a read-only file behind must not abort the run
  std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TempDir::write(std::string_view name, std::string_view bytes) const {
  const auto target = m_path / name;
  std::filesystem::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + target.string());
  return target;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace athup::testing
