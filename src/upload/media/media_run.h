#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/interaction.h"
#include "store/engine/database.h"

namespace athup::upload {

// What a media run did.
struct MediaRunResult {
  int written = 0;       // taxpayers whose index documents and documents were all written
  int failed = 0;        // taxpayers with a document or an index document that could not be written
  bool stopped = false;  // the run ended early (no taxpayer, no destination, folder not created)

  [[nodiscard]] bool allWritten() const { return !stopped && failed == 0 && written > 0; }
};

// Writes, for each picked taxpayer, a folder named after its BAN below the destination with its
// index documents (serial and date empty) and checked copies of its documents. A taxpayer that
// fails is reported with the reason and the run goes on with the next; the completion message
// comes only when every taxpayer was written, a count of the written ones otherwise.
class MediaRun {
 public:
  MediaRun(Interaction& interaction, store::Database& orbWin, store::Database& orbCode,
           std::string period);

  MediaRunResult run(const std::vector<std::string>& bans, std::string_view destination);

  // The warning shown whenever the media window is activated while some taxpayer's zero-rate or
  // fixed-asset index lacks a document (such a taxpayer is not offered).
  void warnWhenIncomplete();

  static constexpr const char* kIncompleteWarning =
      "若[尚未選定單位]未出現欲產生媒體檔的統一編號，請檢查附件資料登錄是否完整！";
  static constexpr const char* kNothingPicked = "尚未選擇媒體檔單位!";
  static constexpr const char* kNoDestination = "目的目錄不存在，請先建立!";

 private:
  // Empty when the taxpayer was written; else why not.
  [[nodiscard]] std::string writeTaxpayer(const std::string& ban, const std::string& folder);

  Interaction& m_interaction;
  store::Database& m_orbWin;
  store::Database& m_orbCode;
  std::string m_period;
};

}  // namespace athup::upload
