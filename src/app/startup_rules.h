#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/settings_store.h"
#include "common/clock.h"
#include "common/interaction.h"

// The start-up and main-window rules that need no window; the windows call them.
namespace athup::app {

inline constexpr std::string_view kReadmeBefore2019 = "readme.txt";
inline constexpr std::string_view kReadmeFrom2019 = "readme_20190101.txt";

// The notice file the splash reads: "readme.txt" while the local Gregorian year is before 2019,
// "readme_20190101.txt" from 1 January 2019 on.
[[nodiscard]] std::string noticeSourceName(const Clock& clock);

// The splash's notice label from the notice file: its last five non-empty lines in file order,
// each left-aligned in a column 40 Big5 bytes wide, separated by single blanks. A file with fewer
// lines repeats its first line for the missing places. nullopt when the file cannot be read (the
// splash then hides its notice panel). The file is Big5, the label UTF-8.
[[nodiscard]] std::optional<std::string> noticeLabelText(const std::filesystem::path& file);

// The label from the lines as the splash reads them walking backwards: lines[0] is the last line
// of the file. Needs at least five lines.
[[nodiscard]] std::string formatNoticeLabel(const std::vector<std::string>& linesBackwards);

// The question after a successful preparation: "是否檢查新版本？". Yes opens the version check
// when isOnline says the workstation is connected, else tells it is not; No recommends checking
// before the upload.
void askVersionCheck(Interaction& interaction, const std::function<bool()>& isOnline,
                     const std::function<void()>& openVersionCheck);

// Whether the main window opens the workflow window when it is shown (ShowWizard = "1").
[[nodiscard]] bool showWorkflowAtStart(const SettingsStore& settings);

// Closing the main window removes the CRC sub-key with everything beneath it; an absent key is no
// error.
void onMainWindowClose(SettingsStore& settings);

}  // namespace athup::app
