#include "app/startup_rules.h"

#include <chrono>
#include <ctime>
#include <stdexcept>

#include "app/app_texts.h"
#include "common/text_helpers.h"

namespace athup::app {
namespace {

constexpr std::size_t kNoticeColumnWidth = 40;
constexpr std::size_t kNoticeLinesShown = 5;

int localYear(const Clock& clock) {
  const std::time_t now = std::chrono::system_clock::to_time_t(clock.now());
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local.tm_year + 1900;
}

}  // namespace

std::string NoticeSourceName(const Clock& clock) {
  return std::string(localYear(clock) < 2019 ? kReadmeBefore2019 : kReadmeFrom2019);
}

std::string formatNoticeLabel(const std::vector<std::string>& linesBackwards) {
  if (linesBackwards.size() < kNoticeLinesShown) {
    throw std::invalid_argument("formatNoticeLabel needs five lines");
  }
  std::string label;
  for (std::size_t i = kNoticeLinesShown; i-- > 0;) {
    // "%-40s" pads without cutting: a longer line keeps all of its text.
    label += common::PadRight(linesBackwards[i], kNoticeColumnWidth, " ");
    if (i > 0) label += ' ';
  }
  return label;
}

void AskVersionCheck(Interaction& interaction, const std::function<bool()>& isOnline,
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

bool ShowWizardOnShow(const SettingsStore& settings) {
  return settings.readString(kOrbKey, "ShowWizard") == "1";
}

void OnMainWindowClose(SettingsStore& settings) { settings.deleteSubKey(kCrcKey); }

}  // namespace athup::app
