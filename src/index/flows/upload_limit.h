#pragma once

#include <cstdint>

namespace athup::index {

// The upload limit on a taxpayer's documents and the user's acknowledgement that a media filing
// may exceed it. The acknowledgement is process-wide: once accepted, the warning does not come
// back in any category or for any taxpayer until the program ends.
class UploadLimit {
 public:
  static constexpr std::int64_t kBytes = 10'485'760;  // 10 MB; exactly this much passes

  [[nodiscard]] static bool acknowledged();
  static void acknowledge();
  // Tests start each case as a fresh program would.
  static void resetForTests();
};

}  // namespace athup::index
