#include "filing_server/seal_text.h"

#include "filing_server/test_card_signature.h"
#include "security/codecs/base64.h"

namespace athup::filing_server {

std::optional<std::string> sealText(std::string_view certType, std::string_view seal) {
  if (seal.empty()) return std::nullopt;
  if (certType == "1") return security::base64DecodeText(seal);
  if (certType == "2") return testCardSignedText(seal);
  return std::nullopt;
}

std::optional<SealValues> splitSealText(std::string_view text, bool forFile) {
  SealValues values;
  std::size_t start = 0;
  for (int i = 0; i < 6; ++i) {
    const std::size_t comma = text.find(',', start);
    const bool last = i == 5;
    if (comma == std::string_view::npos) {
      if (!last || forFile) return std::nullopt;
      values.six.emplace_back(text.substr(start));
      start = text.size() + 1;
    } else {
      if (last && !forFile) return std::nullopt;  // a request seal has exactly six values
      values.six.emplace_back(text.substr(start, comma - start));
      start = comma + 1;
    }
  }
  if (!forFile) return values;
  const std::string_view rest = text.substr(start);
  const std::size_t lastComma = rest.rfind(',');
  if (lastComma == std::string_view::npos) return std::nullopt;
  values.fileName = std::string(rest.substr(0, lastComma));
  values.fileSubName = std::string(rest.substr(lastComma + 1));
  return values;
}

}  // namespace athup::filing_server
