#pragma once

#include <filesystem>

namespace athup::store {

// Decompresses the zlib stream (RFC 1950) that fills `source` into `destination`, which is
// created or replaced, streaming in blocks. A source that cannot be opened raises athup::Error
// "檔案讀取失敗"; a destination that cannot be written, or a stream that is damaged or cut short,
// raises athup::Error too, and then no partial destination is left behind.
void inflateFile(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace athup::store
