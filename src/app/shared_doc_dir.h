#pragma once

#include <string>
#include <string_view>

#include "app/environment.h"

namespace athup::app {

// The shared documents folder (DocDir), ending with the separator: base + "Documents/fiscus/orb/".
// With Windows' variables set, the base is the system drive (first two characters of windir) when
// ALLUSERSPROFILE is empty; ALLUSERSPROFILE when osVersionText does not begin with "2-6"; on NT
// 6.x ALLUSERSPROFILE when its fiscus folder exists, otherwise PUBLIC. Without ALLUSERSPROFILE
// and windir (Linux) the base is the home folder.
[[nodiscard]] std::string sharedDocDir(const Environment& environment,
                                       std::string_view osVersionText);

// The same with the running system's version text.
[[nodiscard]] std::string sharedDocDir(const Environment& environment);

}  // namespace athup::app
