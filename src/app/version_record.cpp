#include "app/version_record.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#include "app/app_texts.h"
#include "common/errors.h"
#include "common/ini_file.h"
#include "common/text_helpers.h"
#include "security/cipher/crypt_file.h"

namespace athup::app {
namespace {

// A name no other run is using: the decrypted record must not meet another user's copy.
std::filesystem::path uniquePlainFile(const std::filesystem::path& folder) {
  std::random_device random;
  std::error_code error;
  for (;;) {
    char name[40];
    std::snprintf(name, sizeof name, "athup-version-%08x%08x.ini", random(), random());
    auto candidate = folder / name;
    if (!std::filesystem::exists(candidate, error)) return candidate;
  }
}

std::string piece(std::string_view text, std::size_t from, std::size_t count) {
  return from >= text.size() ? std::string() : std::string(text.substr(from, count));
}

// Removes the plain record however the reading ends.
class FileRemover {
 public:
  explicit FileRemover(std::filesystem::path file) : m_file(std::move(file)) {}
  ~FileRemover() {
    std::error_code ignored;  // nothing to report: the file may never have been written
    std::filesystem::remove(m_file, ignored);
  }
  FileRemover(const FileRemover&) = delete;
  FileRemover& operator=(const FileRemover&) = delete;

 private:
  std::filesystem::path m_file;
};

}  // namespace

bool readVersionInfo(const std::filesystem::path& file, std::string& version,
                     std::string& versionDate, Interaction& interaction,
                     const std::filesystem::path& tempFolder) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    version = "xxxx";
    versionDate = "xxxxxxxx";
    return false;
  }
  const auto plain = uniquePlainFile(tempFolder);
  FileRemover remover(plain);
  try {
    security::cryptFileByMode(file, plain, security::CryptMode::Decrypt);
  } catch (const StoppedByUser&) {
    throw;
  } catch (const SilentAbort&) {
    throw;
  } catch (const std::exception& e) {
    interaction.showMessage(MessageKind::Plain, e.what());
    return false;
  }
  const auto ini = common::IniFile::load(plain);
  // The workstation's INI reader drops the blanks around a value; "now = 105" is version 105.
  version = common::trimBlanks(ini.readString("Version", "now"));
  versionDate = common::trimBlanks(ini.readString("VersionDate", "date"));
  return true;
}

std::string versionDateText(std::string_view versionDate) {
  return std::string(texts::kVersionDatePrefix) + piece(versionDate, 0, 3) + "年" +
         piece(versionDate, 3, 2) + "月" + piece(versionDate, 5, 2) + "日";
}

std::string versionLabel(std::string_view version) {
  double number = 0;
  const auto* end = version.data() + version.size();
  const auto result = std::from_chars(version.data(), end, number);
  if (result.ec != std::errc() || result.ptr != end) number = 0;
  char label[64];
  std::snprintf(label, sizeof label, "Version %.2f", number / 100);
  return label;
}

VersionInfo loadVersionInfo(const std::filesystem::path& file, Interaction& interaction,
                            const std::filesystem::path& tempFolder) {
  VersionInfo info;
  // The flag only says whether the record was read; the values say what the splash shows.
  (void)readVersionInfo(file, info.gVersion, info.gVersionDate, interaction, tempFolder);
  info.gVersionDateText = versionDateText(info.gVersionDate);
  return info;
}

}  // namespace athup::app
