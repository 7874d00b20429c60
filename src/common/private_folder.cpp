#include "common/private_folder.h"

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "common/errors.h"
#include "common/file_helpers.h"

#ifndef _WIN32
#include <stdlib.h>
#include <sys/stat.h>
#endif

namespace athup::common {
namespace {

[[noreturn]] void throwCannotCreate(const std::filesystem::path& folder) {
  throw Error("無法建立目錄 \"" + utf8FromPath(folder) + "\"。");
}

bool makeFolder(const std::filesystem::path& folder) {
#ifdef _WIN32
  std::error_code error;
  return std::filesystem::create_directory(folder, error) || !error;
#else
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
#endif
}

std::filesystem::path makeUniqueFolder(const std::filesystem::path& base, std::string_view prefix) {
#ifdef _WIN32
  std::error_code error;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate =
        base / (std::string(prefix) + std::to_string(GetTickCount64()) + std::to_string(attempt));
    if (std::filesystem::create_directory(candidate, error)) return candidate;
  }
  throwCannotCreate(base);
#else
  std::string pattern = (base / (std::string(prefix) + "XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) throwCannotCreate(base);  // mkdtemp makes it 0700
  return pattern;
#endif
}

}  // namespace

void createPrivateFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::vector<std::filesystem::path> missing;
  for (auto at = folder; !at.empty() && !std::filesystem::exists(at, error);
       at = at.parent_path()) {
    missing.push_back(at);
    if (at == at.parent_path()) break;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (!makeFolder(*it)) throwCannotCreate(folder);
  }
  if (!std::filesystem::is_directory(folder, error)) throwCannotCreate(folder);
}

PrivateTempFolder::PrivateTempFolder(std::string_view prefix) {
  std::error_code error;
  const auto base = std::filesystem::temp_directory_path(error);
  if (error) throwCannotCreate(std::filesystem::path(std::string(prefix)));
  m_path = makeUniqueFolder(base, prefix);
}

PrivateTempFolder::PrivateTempFolder(std::string_view prefix, const std::filesystem::path& parent) {
  createPrivateFolder(parent);
  m_path = makeUniqueFolder(parent, prefix);
}

PrivateTempFolder::~PrivateTempFolder() {
  std::error_code ignored;  // a folder of our own work copies; nothing else lives there
  std::filesystem::remove_all(m_path, ignored);
}

}  // namespace athup::common
