#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athup::filing_server {

// The values a seal was made over: date and time "yyyymmddhhnnss", BAN, period, last upload
// success number, T02 and T08 checksums; a file's seal adds the file's name and extension.
struct SealValues {
  std::vector<std::string> six;
  std::string fileName;     // empty for a request seal
  std::string fileSubName;  // empty for a request seal
};

// The text inside a seal: type "1" is the one-line base64 of the text, type "2" the test card's
// signature (test_card_signature.h). nullopt when the seal cannot be read or its signature fails.
[[nodiscard]] std::optional<std::string> sealText(std::string_view certType, std::string_view seal);

// Splits a seal text. A file seal's name may itself hold commas: the extension is the text after
// the last comma and the name everything between the sixth value and it. nullopt when the text
// has too few values.
[[nodiscard]] std::optional<SealValues> splitSealText(std::string_view text, bool forFile);

}  // namespace athup::filing_server
