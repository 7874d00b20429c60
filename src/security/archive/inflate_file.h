#pragma once

#include <filesystem>

namespace athup::security {

// Decompresses the zlib stream (RFC 1950) that fills `source` into `destination`, streaming in
// blocks. The content goes to a private temporary file beside the destination, which replaces the
// destination only once the whole stream has been read and written: an existing destination is
// never damaged and a link at its name is replaced, not written through. A source that cannot be
// opened raises athup::Error "檔案讀取失敗"; a destination that cannot be created or written, or a
// stream that is damaged or cut short, raises athup::Error too, and then no partial destination
// and no temporary file is left behind.
void inflateFile(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace athup::security
