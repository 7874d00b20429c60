#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Plain text files of this system (notices, help texts, saved reports) are Big5. The one
// byte-order-mark rule: a file that starts with the UTF-8 mark is UTF-8 (the mark is not part of
// the text); any other file is Big5. Files are written in Big5, without a mark.
namespace athup::common {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The bytes without a leading UTF-8 mark; `utf8` tells whether there was one.
struct TextFileBody {
  bool utf8;
  std::string_view bytes;
};
[[nodiscard]] TextFileBody splitByteOrderMark(std::string_view fileBytes);

// A text file's bytes as UTF-8 under the rule above.
[[nodiscard]] std::string textFromFileBytes(std::string_view fileBytes);

// Reads a text file as UTF-8; errors as readWholeFile.
[[nodiscard]] std::string readBig5TextFile(const std::filesystem::path& path);

// Writes UTF-8 text as Big5 through the atomic writer. A character Big5 cannot hold throws
// athup::Error naming it (the file is left as it was); write errors as AtomicFile.
void writeBig5TextFile(const std::filesystem::path& path, std::string_view utf8);

}  // namespace athup::common
