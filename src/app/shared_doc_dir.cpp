#include "app/shared_doc_dir.h"

#include <filesystem>
#include <system_error>

#include "common/file_helpers.h"
#include "common/workstation.h"

namespace athup::app {
namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

std::string docDirBelow(std::string base) {
  while (!base.empty() && (base.back() == '/' || base.back() == '\\')) base.pop_back();
  for (const char* part : {"Documents", "fiscus", "orb"}) {
    base += kSeparator;
    base += part;
  }
  base += kSeparator;
  return base;
}

bool isFolder(const std::string& path) {
  std::error_code ignored;  // an unreadable folder counts as absent, as the choice needs
  return std::filesystem::is_directory(common::pathFromUtf8(path), ignored);
}

}  // namespace

std::string sharedDocDir(const Environment& environment, std::string_view osVersionText) {
  const std::string allUsers = environment.variable("ALLUSERSPROFILE");
  const std::string windir = environment.variable("windir");
  if (allUsers.empty()) {
    if (windir.empty()) return docDirBelow(common::utf8FromPath(environment.homeFolder()));
    return docDirBelow(windir.substr(0, 2));
  }
  if (!osVersionText.starts_with("2-6")) return docDirBelow(allUsers);
  if (isFolder(docDirBelow(allUsers))) return docDirBelow(allUsers);
  const std::string publicFolder = environment.variable("PUBLIC");
  // Without PUBLIC the tail alone would name a folder at the drive's root; stay with the profile.
  return docDirBelow(publicFolder.empty() ? allUsers : publicFolder);
}

std::string sharedDocDir(const Environment& environment) {
  return sharedDocDir(environment, common::osVersionText());
}

}  // namespace athup::app
