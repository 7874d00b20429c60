#pragma once

#include <string>

#include "demo_data/demo_scenario.h"

// The small text files delivered beside the program: the notices the splash window shows and the
// plain text of the version record.
namespace athup::demodata {

// The notice file of that name ("readme.txt" before 2019, "readme_20190101.txt" since) in Big5
// with CR LF line ends. The splash shows its last five non-empty lines.
[[nodiscard]] std::string readmeNotice(const std::string& fileName, const Scenario& scenario);

// The version record before encryption: INI text with [Version] now=... and [VersionDate]
// date=..., CR LF line ends.
[[nodiscard]] std::string versionIniText(const DemoVersion& version);

}  // namespace athup::demodata
