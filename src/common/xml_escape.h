#pragma once

#include <string>
#include <string_view>

namespace athup::common {

// Whether the apostrophe is written as "&apos;" too: the attachment index documents escape it,
// the other documents leave it, as they always have.
enum class XmlApostrophe { Kept, Escaped };

// Appends text with the four characters that cannot stand as they are in XML or HTML text and
// attribute values ("&", "<", ">", '"') written as entities, and the apostrophe when asked.
void appendXmlEscaped(std::string& out, std::string_view text,
                      XmlApostrophe apostrophe = XmlApostrophe::Kept);

[[nodiscard]] std::string xmlEscaped(std::string_view text,
                                     XmlApostrophe apostrophe = XmlApostrophe::Kept);

}  // namespace athup::common
