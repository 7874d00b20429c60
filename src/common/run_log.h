#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/clock.h"

// The run log: one Big5 text file with CR LF line ends that records the current run. It is started
// afresh by every environment preparation and opened, written and closed within each call, so no
// handle stays open between events.
//
// Header line: "執行日期：" + ROC today (YYYMMDD) + "  執行時間：" + time.
// Event line:  "[" + "yyyy/MM/dd" date + " " + time + "]：" + event text.
// The workstation's long time format is fixed here as 24-hour "HH:mm:ss" so that logs read the
// same on every machine and locale.
namespace athup::common {

// Deletes the file if it exists, creates it and writes the header line. Every failure (read-only
// folder, a folder in the way) is swallowed on purpose: the run goes on without a log, and later
// appendRunLog calls do nothing because the file does not exist.
void startRunLog(const std::filesystem::path& path, const Clock& clock);

// Appends one event line when the file exists; does nothing when it does not. A write failure on
// an existing file throws athup::Error. Characters Big5 cannot hold are written as '?', so an odd
// file name never stops the run it is reporting on.
void appendRunLog(const std::filesystem::path& path, std::string_view text, const Clock& clock);

// The header and event lines in UTF-8, without their CR LF.
[[nodiscard]] std::string runLogHeaderLine(std::chrono::system_clock::time_point when);
[[nodiscard]] std::string runLogEventLine(std::chrono::system_clock::time_point when,
                                          std::string_view text);

}  // namespace athup::common
