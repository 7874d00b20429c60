#include "app/startup_rules.h"

#include <chrono>
#include <ctime>
#include <stdexcept>

#include "app/app_texts.h"
#include "common/local_time.h"
#include "common/text_helpers.h"
#include "index/parser/record_reader.h"

namespace athup::app {
namespace {

constexpr std::size_t kNoticeColumnWidth = 40;
constexpr std::size_t kNoticeLinesShown = 5;
constexpr std::size_t kNoticeLinesRead = 6;
constexpr int kNoticeFieldWidth = 1000;

}  // namespace

std::string noticeSourceName(const Clock& clock) {
  return std::string(common::localTimeParts(clock.now()).tm_year + 1900 < 2019 ? kReadmeBefore2019
                                                                               : kReadmeFrom2019);
}

std::optional<std::string> noticeLabelText(const std::filesystem::path& file) {
  try {
    // A missing notice must not be created empty in the program's folder: the reader never does.
    return formatNoticeLabel(index::readLastLines(file, kNoticeLinesRead, kNoticeFieldWidth));
  } catch (const std::exception&) {
    return std::nullopt;  // the splash goes on without its notice panel
  }
}

std::string formatNoticeLabel(const std::vector<std::string>& linesBackwards) {
  if (linesBackwards.size() < kNoticeLinesShown) {
    throw std::invalid_argument("formatNoticeLabel needs five lines");
  }
  std::string label;
  for (std::size_t i = kNoticeLinesShown; i-- > 0;) {
    // "%-40s" pads without cutting: a longer line keeps all of its text.
    label += common::padRight(linesBackwards[i], kNoticeColumnWidth, " ");
    if (i > 0) label += ' ';
  }
  return label;
}

void askVersionCheck(Interaction& interaction, const std::function<bool()>& isOnline,
                     const std::function<void()>& openVersionCheck) {
  const Answer answer =
      interaction.ask(MessageKind::Warning, std::string(texts::kVersionCheckQuestion),
                      std::string(texts::kVersionCheckCaption), Buttons::YesNo);
  if (answer == Answer::Yes) {
    if (isOnline()) {
      openVersionCheck();
    } else {
      interaction.showMessage(MessageKind::Plain, std::string(texts::kOffline));
    }
    return;
  }
  interaction.showMessage(MessageKind::Information, std::string(texts::kCheckBeforeUpload),
                          std::string(texts::kVersionCheckCaption));
}

bool showWorkflowAtStart(const SettingsStore& settings) {
  return settings.readString(kOrbKey, "ShowWizard") == "1";
}

void onMainWindowClose(SettingsStore& settings) {
  settings.deleteSubKey(kCrcKey);
}

}  // namespace athup::app
