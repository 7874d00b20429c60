#include "common/run_log.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <system_error>

#include "common/big5.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/local_time.h"

namespace athup::common {
namespace {

std::string longTime(const std::tm& parts) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
  return text;
}

// A file, not a folder of the same name.
bool logExists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
}

}  // namespace

std::string runLogHeaderLine(std::chrono::system_clock::time_point when) {
  const std::tm parts = localTimeParts(when);
  char today[48];
  std::snprintf(today, sizeof today, "%.03d%.02d%.02d", parts.tm_year + 1900 - 1911,
                parts.tm_mon + 1, parts.tm_mday);
  return std::string("執行日期：") + today + "  執行時間：" + longTime(parts);
}

std::string runLogEventLine(std::chrono::system_clock::time_point when, std::string_view text) {
  const std::tm parts = localTimeParts(when);
  char date[48];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                parts.tm_mday);
  return "[" + std::string(date) + " " + longTime(parts) + "]：" + std::string(text);
}

void startRunLog(const std::filesystem::path& path, const Clock& clock) {
  // Failures are swallowed on purpose: a program folder that cannot hold the log must not stop
  // the run, and appendRunLog then finds no file and writes nothing.
  std::error_code ignored;
  if (!std::filesystem::is_directory(path, ignored)) std::filesystem::remove(path, ignored);
  try {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return;
    out << utf8ToBig5Lossy(runLogHeaderLine(clock.now())) << "\r\n";
  } catch (const std::exception&) {
    return;
  }
}

void appendRunLog(const std::filesystem::path& path, std::string_view text, const Clock& clock) {
  if (!logExists(path)) return;
  const std::string line = utf8ToBig5Lossy(runLogEventLine(clock.now(), text)) + "\r\n";
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (out) {
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.close();
  }
  if (!out) throw Error("無法寫入執行記錄檔\"" + utf8FromPath(path) + "\"！");
}

}  // namespace athup::common
