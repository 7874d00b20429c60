#include "app/path_ini.h"

#include <system_error>

#include "common/big5.h"
#include "common/file_helpers.h"
#include "common/ini_file.h"

namespace athup::app {
namespace {

constexpr std::string_view kSection = "OwnerPath";

std::string_view keyOfMode(int mode) {
  switch (mode) {
    case 1:
      return "DbPath";
    case 2:
      return "UpLoadPath";
    default:
      return {};
  }
}

}  // namespace

std::filesystem::path pathIniFile(std::string_view docDir) {
  return common::pathFromUtf8(docDir) / "BIN" / "ORBPath.ini";
}

void writePathIni(std::string_view docDir, std::string_view folder, int mode) {
  const auto key = keyOfMode(mode);
  if (key.empty()) return;
  const auto file = pathIniFile(docDir);
  auto ini = common::IniFile::load(file);
  ini.writeString(kSection, key, common::utf8ToBig5(folder));
  ini.saveTo(file);
}

std::string readPathIni(std::string_view docDir, int mode) {
  const auto key = keyOfMode(mode);
  const auto file = pathIniFile(docDir);
  std::error_code error;
  if (key.empty() || !std::filesystem::exists(file, error)) return {};
  std::string folder = common::big5ToUtf8(common::IniFile::load(file).readString(kSection, key));
  if (folder.empty() || !std::filesystem::is_directory(common::pathFromUtf8(folder), error)) {
    return {};
  }
  return folder;
}

}  // namespace athup::app
