#include "index/flows/upload_limit.h"

#include <atomic>

namespace athup::index {

namespace {
std::atomic<bool> g_acknowledged{false};
}  // namespace

bool UploadLimit::acknowledged() {
  return g_acknowledged.load();
}

void UploadLimit::acknowledge() {
  g_acknowledged.store(true);
}

void UploadLimit::resetForTests() {
  g_acknowledged.store(false);
}

}  // namespace athup::index
