#include "app/version_banner.h"

#include <exception>

#include "app/environment.h"
#include "app/program_location.h"
#include "app/version_record.h"
#include "common/file_helpers.h"
#include "common/interaction.h"

namespace athup::app {
namespace {

// Keeps the cipher's message so the banner can say why the record was not read.
class KeptMessage final : public DecliningInteraction {
 public:
  void showMessage(MessageKind, const std::string& text, const std::string&) override {
    m_text = text;
  }
  void showStatus(StatusKind, const std::string&) override {}
  [[nodiscard]] const std::string& text() const { return m_text; }

 private:
  std::string m_text;
};

}  // namespace

std::string versionBanner(std::string_view program, const std::filesystem::path& record,
                          const std::filesystem::path& tempFolder, std::string_view buildVersion) {
  std::string version;
  std::string versionDate;
  KeptMessage message;
  std::string why = "is missing";
  bool read = false;
  try {
    read = readVersionInfo(record, version, versionDate, message, tempFolder);
    if (!message.text().empty()) why = "cannot be read: " + message.text();
  } catch (const std::exception& error) {
    why = std::string("cannot be read: ") + error.what();
  }
  if (read && version.empty()) why = "holds no version";
  std::string banner(program);
  if (read && !version.empty()) {
    banner += " " + versionLabel(version) + "\n";
  } else {
    banner += " " + std::string(buildVersion) + " (the build's version; the version record \"" +
              common::utf8FromPath(record) + "\" " + why + ")\n";
  }
  banner += read && !versionDate.empty() ? versionDateText(versionDate) : "version date unknown";
  return banner + "\n";
}

std::string versionBannerOfThisProgram(std::string_view program, std::string_view buildVersion) {
  const Environment environment = Environment::fromProcess();
  const ProgramLocation location = locateProgram(currentExecutableDir(), environment);
  return versionBanner(program, location.deliveryFile("version"), environment.tempFolder(),
                       buildVersion);
}

}  // namespace athup::app
