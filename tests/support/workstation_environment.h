#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace athup::testing {

// The environment of an in-process command-line run on a test workstation: HOME, the settings
// file and the temporary folder inside `folder` (home/, settings.ini, tmp/), and none of the
// variables that would point the program elsewhere. The previous values come back on destruction.
class WorkstationEnvironment {
 public:
  explicit WorkstationEnvironment(const std::filesystem::path& folder);
  ~WorkstationEnvironment();
  WorkstationEnvironment(const WorkstationEnvironment&) = delete;
  WorkstationEnvironment& operator=(const WorkstationEnvironment&) = delete;

 private:
  std::map<std::string, std::optional<std::string>> m_saved;
};

}  // namespace athup::testing
