#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "common/interaction.h"
#include "store/queries/last_upload_queries.h"
#include "store/queries/taxpayer_queries.h"
#include "store/queries/taxpayer_record.h"

// The shared lookups as the flows show their outcome to the user.
namespace athup::app {

// The taxpayer of the BAN; when there is none, "找不到營業人建檔資料" goes to the status bar and
// then to a plain message box.
[[nodiscard]] std::optional<store::TaxpayerRecord> findTaxpayerOrReport(
    store::TaxpayerQueries& queries, Interaction& ui, std::string_view ban);

// Whether the filing file at `path` is the one uploaded with the return. On a mismatch, or when
// the return carried no such file, returns false and (when `show`) says so in a message box.
[[nodiscard]] bool checkAgainstLastUpload(store::LastUploadQueries& queries, Interaction& ui,
                                          std::string_view ban, std::string_view type,
                                          const std::filesystem::path& path, bool show,
                                          std::string_view period);

}  // namespace athup::app
