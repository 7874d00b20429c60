#include "common/file_faults.h"

#include <atomic>

namespace athup::common {
namespace {

constexpr int kDisarmed = -1;
std::atomic<int> g_operationsLeft{kDisarmed};

}  // namespace

void FileFaults::failAfter(int operations) {
  g_operationsLeft = operations < 1 ? 1 : operations;
}

void FileFaults::disarm() {
  g_operationsLeft = kDisarmed;
}

bool FileFaults::nextOperationFails() {
  int left = g_operationsLeft.load();
  while (left > 0) {
    if (g_operationsLeft.compare_exchange_weak(left, left - 1)) return left == 1;
  }
  return left == 0;  // already failed once: a full disk stays full
}

}  // namespace athup::common
