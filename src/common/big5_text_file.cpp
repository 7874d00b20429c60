#include "common/big5_text_file.h"

#include "common/atomic_file.h"
#include "common/big5.h"
#include "common/whole_file.h"

namespace athup::common {

TextFileBody splitByteOrderMark(std::string_view fileBytes) {
  if (fileBytes.starts_with(kUtf8ByteOrderMark))
    return {true, fileBytes.substr(kUtf8ByteOrderMark.size())};
  return {false, fileBytes};
}

std::string textFromFileBytes(std::string_view fileBytes) {
  const TextFileBody body = splitByteOrderMark(fileBytes);
  return body.utf8 ? std::string(body.bytes) : big5ToUtf8(body.bytes);
}

std::string readBig5TextFile(const std::filesystem::path& path) {
  return textFromFileBytes(readWholeFile(path));
}

void writeBig5TextFile(const std::filesystem::path& path, std::string_view utf8) {
  writeFileAtomically(path, utf8ToBig5(utf8));
}

}  // namespace athup::common
