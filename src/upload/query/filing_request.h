#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/interaction.h"
#include "store/engine/database.h"
#include "upload/certificate_port.h"
#include "upload/filing_context.h"
#include "upload/response_document.h"

namespace athup::upload {

// What the pre-upload request and the result query share: the check that this computer holds
// the return's filing data, the seal of six values, the form body, the post to the query address,
// the HTML check and the answer kept beside the program and loaded as a response document. Every
// step shows its own messages through the port.
class FilingRequest {
 public:
  FilingRequest(const FilingContext& context, store::Database& orbWin, CertificatePort& certificate,
                Interaction& interaction);

  // Chooses the certificate type, checks the local filing data (the message ends with
  // `missingDataLastLine`), seals and builds the body. nullopt when the request stops: after the
  // missing-data message, or silently when a dialog was cancelled.
  [[nodiscard]] std::optional<std::string> prepare(const std::string& ban,
                                                   std::string_view missingDataLastLine);

  // Posts the body to the query address. The answer as it arrived (Big5), empty when none did;
  // the transport's messages have then been shown.
  [[nodiscard]] std::string post(std::string_view body);

  // True for an HTML page instead of a document; its title has been shown.
  [[nodiscard]] bool answeredWithHtml(std::string_view answer);

  // Keeps the answer and a CR LF as `fileName` in the program's folder, then reads it as a
  // response document; nullopt (with the parser's message shown) when it does not parse.
  [[nodiscard]] std::optional<ResponseDocument> keepAndLoad(std::string_view answer,
                                                            std::string_view fileName);

  // The six comma-separated values a request seal is made of: now as yyyymmddhhnnss, BAN,
  // gDataYM, the last upload's success number and its T02 and T08 checksums.
  [[nodiscard]] std::string sealText(const std::string& ban);
  // The form body, values inserted as they are (the seal comes escaped when it must be), in
  // Big5.
  [[nodiscard]] std::string body(const std::string& ban, const std::string& seal) const;

  // "本電腦無統一編號[...]..." with its last line.
  [[nodiscard]] static std::string missingDataMessage(const std::string& ban,
                                                      std::string_view lastLine);

 private:
  const FilingContext& m_context;
  store::Database& m_orbWin;
  CertificatePort& m_certificate;
  Interaction& m_interaction;
};

}  // namespace athup::upload
