#pragma once

#include <string_view>

namespace athup::index {

// A decimal text as a currency value (four decimal places, "." as separator, optional sign,
// blanks around it allowed). A text that is not such a number, an empty one included, gives 0.
// Independent of the process locale.
[[nodiscard]] double textToCurrency(std::string_view text);

}  // namespace athup::index
