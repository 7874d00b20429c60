#include "upload/text_between.h"

namespace athup::upload {

std::string textBetween(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker) {
  const auto start = text.find(startMarker);
  if (start == std::string_view::npos) return {};
  const auto from = start + startMarker.size();
  const auto end = text.find(endMarker);
  // No end marker, or one only before the start marker, gives nothing.
  if (end == std::string_view::npos || end < from) return {};
  return std::string(text.substr(from, end - from));
}

}  // namespace athup::upload
