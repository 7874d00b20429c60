// The INI reader on arbitrary text: reading never fails, writing the text back and reading it
// again gives the same sections, keys and values, and a value written through the object is read
// back as written.
#include "common/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto ini = athup::common::IniFile::fromText(input);
  const std::string text = ini.text();
  auto again = athup::common::IniFile::fromText(text);
  FUZZ_CHECK(again.text() == text);  // written once, the text is stable
  FUZZ_CHECK(again.sections() == ini.sections());
  for (const auto& section : ini.sections()) {
    FUZZ_CHECK(again.keys(section) == ini.keys(section));
    for (const auto& key : ini.keys(section)) {
      FUZZ_CHECK(again.find(section, key) == ini.find(section, key));
    }
  }
  for (const auto& section : ini.sections()) {
    try {
      again.writeString(section, "FuzzKey", "value");
    } catch (const std::invalid_argument&) {
      continue;  // a section name that cannot be written back by name
    }
    FUZZ_CHECK(again.readString(section, "fuzzkey") == "value");
  }
  return 0;
}
