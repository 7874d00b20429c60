#pragma once

#include <string>

namespace athup::upload {

// The display text of a platform internet error code (the codes the filing transports report,
// see curl_error_code.h for where they come from); empty for a code outside the table.
[[nodiscard]] std::string internetErrorText(int code);

}  // namespace athup::upload
