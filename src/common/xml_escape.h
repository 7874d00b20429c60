#pragma once

#include <string>
#include <string_view>

namespace athup::common {

// Appends text with the four characters that cannot stand as they are in XML or HTML text and
// attribute values ("&", "<", ">", '"') written as entities.
void appendXmlEscaped(std::string& out, std::string_view text);

[[nodiscard]] std::string xmlEscaped(std::string_view text);

}  // namespace athup::common
