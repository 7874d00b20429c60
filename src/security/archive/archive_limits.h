#pragma once

#include <cstdint>

namespace athup::security {

// The attachments of one filing may hold at most this many bytes in all (10 MB).
inline constexpr std::uint64_t kFilingAttachmentLimit = 10'485'760;

// What an archive may hold before it is opened or extracted. Hostile archives claim millions of
// records or gigabytes of content from a few kilobytes; the defaults leave generous headroom over
// what a filing can carry, and a caller that knows better (the filing-server simulator, a test)
// sets its own.
struct ArchiveLimits {
  // Records in the registry, checked before the registry is read.
  std::uint32_t maxEntries = 10'000;
  // Sum of the recorded uncompressed sizes, checked before the first byte is extracted.
  std::uint64_t maxExtractedBytes = 32 * kFilingAttachmentLimit;
};

}  // namespace athup::security
