#pragma once

#include <filesystem>
#include <string>

#include "app/program_location.h"
#include "support/temp_dir.h"

namespace athup::gui::testing {

// The source tree's delivery files, as the build copies them beside the program.
inline std::filesystem::path resourcesDir() {
  return std::filesystem::path(ATHUP_SOURCE_DIR) / "resources";
}

// A program folder holding the delivery files.
inline app::ProgramLocation deliveredProgram() {
  return app::ProgramLocation{resourcesDir(), resourcesDir()};
}

}  // namespace athup::gui::testing
