// The run with the standard pre-upload request and index documents, kept apart so that a
// program that supplies its own steps does not link them.
#include "upload/index_documents/index_document_writer.h"
#include "upload/run/upload_run.h"

namespace athup::upload {

UploadRun::UploadRun(Interaction& interaction, CertificatePort& certificate, FilingContext context,
                     store::Database& orbWin, store::Database& orbCode)
    : UploadRun(interaction, certificate, context, orbWin, orbCode, UploadSteps{}) {
  m_steps.requestSerial = [this](const std::string& ban) {
    return requestUploadSerial(ban, m_context, m_orbWin, m_certificate, m_interaction);
  };
  m_steps.writeIndexDocuments = [this](const std::string& ban, const std::filesystem::path& folder,
                                       const std::string& serial, const std::string& date) {
    return writeIndexDocuments(m_orbWin, ban, folder, m_context.period, serial, date);
  };
}

}  // namespace athup::upload
