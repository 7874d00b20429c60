#pragma once

#include <filesystem>
#include <string_view>

#include "app/environment.h"

namespace athup::app {

// Where the program lives and where it may write.
//
// Delivery files (help texts, pictures, notices, the version record) are read from the program's
// folder, or from the install's share folder (<prefix>/share/athup/) when the program sits in
// <prefix>/bin/. Files the program writes beside itself (the run log, TMP/, the last raw server
// answers) go to the program's folder when it is writable, otherwise to the per-user state folder
// $XDG_STATE_HOME/fiscus/orb/ (default ~/.local/state/fiscus/orb/).
struct ProgramLocation {
  std::filesystem::path exeDir;       // folder of the running program
  std::filesystem::path writableDir;  // exeDir, or the per-user state folder

  // The delivery file's path: beside the program when it is there, else in the share folder when
  // it is there, else beside the program (so a message names the expected place).
  [[nodiscard]] std::filesystem::path deliveryFile(std::string_view name) const;
};

// The folder of the running executable.
[[nodiscard]] std::filesystem::path currentExecutableDir();

// Decides the writable folder for a program in exeDir (creating the per-user folder when needed).
[[nodiscard]] ProgramLocation locateProgram(const std::filesystem::path& exeDir,
                                            const Environment& environment);

}  // namespace athup::app
