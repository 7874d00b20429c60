#pragma once

#include <string>
#include <string_view>

namespace athup::testing {

// A status line as the filing server writes it, ASCII so columns are characters.
inline std::string statusLine(std::string_view code, std::string_view name, std::string_view ext,
                              std::string_view size, std::string_view receivedAt,
                              std::string_view secondStamp = "20240521093000") {
  auto field = [](std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
  };
  return "ORB001" + field(code, 2) + "0001" + "00" + field(name, 21) + field(ext, 3) +
         field(size, 20) + field("00000000000000000100", 20) + field(receivedAt, 14) +
         field(secondStamp, 14) + "        " + field("OK", 50);
}

}  // namespace athup::testing
