#pragma once

namespace athup::common {

// A test seam for file writes: once armed, the n-th file operation of the atomic writer (a write
// of a block, a sync, a rename) fails as a full disk would, a write having put part of its bytes
// down first. Inert unless a test arms it; the count is process-wide.
class FileFaults {
 public:
  // Fails the n-th operation from now (n >= 1) and every later one until disarmed.
  static void failAfter(int operations);
  static void disarm();

  // Called by the writer before each operation: true when this one must fail.
  [[nodiscard]] static bool nextOperationFails();
};

// Arms the seam for one scope.
class ScopedFileFault {
 public:
  explicit ScopedFileFault(int operations) { FileFaults::failAfter(operations); }
  ~ScopedFileFault() { FileFaults::disarm(); }
  ScopedFileFault(const ScopedFileFault&) = delete;
  ScopedFileFault& operator=(const ScopedFileFault&) = delete;
};

}  // namespace athup::common
