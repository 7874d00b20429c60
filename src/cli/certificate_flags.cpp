#include "cli/certificate_flags.h"

#include <fstream>
#include <istream>

#include "cli/command.h"
#include "common/errors.h"
#include "common/file_helpers.h"

namespace athup::cli {
namespace {

// The first line of the file, or of standard input for "-", without its line end.
std::string readSecret(const std::string& file, std::istream& in, const char* what) {
  std::ifstream opened;
  if (file != "-") {
    opened.open(common::pathFromUtf8(file), std::ios::binary);
    if (!opened) throw Error(std::string("cannot read the ") + what + " file \"" + file + "\"");
  }
  std::istream& from = file == "-" ? in : opened;
  std::string line;
  if (!std::getline(from, line) && line.empty()) throw Error(std::string("no ") + what + " given");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

CertificateFlags::CertificateFlags(const IndexOptions& options, std::istream& in, std::ostream& err)
    : m_testCard(options.flag("test-card")) {
  const std::string certType = options.required("cert-type");
  if (certType != "1" && certType != "2") throw UsageError("--cert-type is 1 or 2");
  const bool account = certType == "1";
  const char* secretOption = account ? "password-file" : "pin-file";
  const auto secretFile = options.value(secretOption);
  if (!secretFile)
    throw UsageError(std::string("--cert-type ") + certType + " needs --" + secretOption);
  if (options.value(account ? "pin-file" : "password-file"))
    throw UsageError(std::string("--cert-type ") + certType + " takes --" + secretOption + " only");
  m_interaction.emplace(err, account ? 0 : 1,
                        readSecret(*secretFile, in, account ? "password" : "PIN"));
}

app::CertificateSession& CertificateFlags::certificate(app::SettingsStore& settings) {
  if (!m_certificate) {
    security::CardClient& card =
        m_testCard ? static_cast<security::CardClient&>(m_testCardClient) : m_noCard;
    m_certificate.emplace(*m_interaction, card, settings);
  }
  return *m_certificate;
}

}  // namespace athup::cli
