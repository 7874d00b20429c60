#pragma once

#include <string>
#include <string_view>

namespace athup::upload {

// The text between the first start marker and the first end marker (searched from the start of
// the text, as the title of an HTML error page is pulled out); empty when either marker does not
// occur or the end marker occurs only before the start marker.
[[nodiscard]] std::string textBetween(std::string_view text, std::string_view startMarker,
                                      std::string_view endMarker);

}  // namespace athup::upload
