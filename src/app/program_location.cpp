#include "app/program_location.h"

#include <fstream>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace athup::app {
namespace {

// Permission bits do not answer this (root writes everywhere, read-only mounts ignore them):
// create and remove a probe file.
bool isWritableFolder(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return false;
  std::random_device random;
  const auto probe = folder / (".athup-probe-" + std::to_string(random()));
  {
    std::ofstream out(probe, std::ios::binary);
    if (!out) return false;
  }
  std::filesystem::remove(probe, error);
  return true;
}

std::filesystem::path stateFolder(const Environment& environment) {
  std::filesystem::path base = environment.variable("XDG_STATE_HOME");
  if (base.empty()) base = environment.homeFolder() / ".local" / "state";
  return base / "fiscus" / "orb";
}

}  // namespace

std::filesystem::path ProgramLocation::deliveryFile(std::string_view name) const {
  std::error_code error;
  const auto beside = exeDir / name;
  if (std::filesystem::exists(beside, error)) return beside;
  const auto shared = exeDir.parent_path() / "share" / "athup" / name;
  if (std::filesystem::exists(shared, error)) return shared;
  return beside;
}

std::filesystem::path currentExecutableDir() {
#ifdef _WIN32
  std::wstring buffer(32768, L'\0');
  const DWORD length =
      GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  buffer.resize(length);
  return std::filesystem::path(buffer).parent_path();
#else
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path();
  return self.parent_path();
#endif
}

ProgramLocation locateProgram(const std::filesystem::path& exeDir, const Environment& environment) {
  ProgramLocation location{exeDir, exeDir};
  if (isWritableFolder(exeDir)) return location;
  location.writableDir = stateFolder(environment);
  std::error_code
      ignored;  // a folder that cannot be made leaves the run without a log, as intended
  std::filesystem::create_directories(location.writableDir, ignored);
  return location;
}

}  // namespace athup::app
