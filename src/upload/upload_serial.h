#pragma once

#include <string>

#include "common/interaction.h"
#include "store/engine/database.h"
#include "upload/certificate_port.h"
#include "upload/filing_context.h"
#include "upload/result/result_file_decoder.h"

namespace athup::upload {

// What the pre-upload request gave. A serial means go on; otherwise `refused` tells a refusal
// ("err": the run counts -1) from a request the user or the checks abandoned (empty serial).
struct UploadSerial {
  std::string serial;      // the server's "updserial"; empty or "err" when there is none
  std::string uploadDate;  // the answer's "Date", written into the index documents
  std::optional<DecodedResult> result;  // the result file the answer carried, when it had one
  [[nodiscard]] bool ok() const { return !serial.empty() && serial != "err"; }
};

// The pre-upload request of an upload run: the local filing data check, the seal, the form post
// to the query address, the run-log lines, the result file and the four consistency checks.
// Shows its own messages through the port.
[[nodiscard]] UploadSerial requestUploadSerial(const std::string& ban, const FilingContext& context,
                                               store::Database& orbWin,
                                               CertificatePort& certificate,
                                               Interaction& interaction);

}  // namespace athup::upload
