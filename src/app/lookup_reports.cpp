#include "app/lookup_reports.h"

#include <string>

#include "app/app_texts.h"

namespace athup::app {

std::optional<store::TaxpayerRecord> findTaxpayerOrReport(store::TaxpayerQueries& queries,
                                                          Interaction& ui, std::string_view ban) {
  auto rec = queries.findTaxpayer(ban);
  if (!rec) {
    ui.showStatus(StatusKind::Note, std::string(texts::kTaxpayerMissing));
    ui.showMessage(MessageKind::Plain, std::string(texts::kTaxpayerMissing));
  }
  return rec;
}

bool checkAgainstLastUpload(store::LastUploadQueries& queries, Interaction& ui,
                            std::string_view ban, std::string_view type,
                            const std::filesystem::path& path, bool show, std::string_view period) {
  switch (queries.compareWithLastUpload(ban, type, path, period)) {
    case store::LastUploadMatch::Matches:
      return true;
    case store::LastUploadMatch::Differs:
      if (show) {
        ui.showMessage(MessageKind::Plain, std::string(texts::kNotUploadedFile));
      }
      return false;
    case store::LastUploadMatch::NotUploaded:
      break;
  }
  if (show) {
    ui.showMessage(MessageKind::Plain, std::string(texts::kNoReturnUpload));
  }
  return false;
}

}  // namespace athup::app
