#include "platform/win/task_allocator.h"

#include <atomic>
#include <cstdlib>

namespace {
std::atomic<int64_t> g_outstanding{0};
}

extern "C" {

void* CoTaskMemAlloc(size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (block) ++g_outstanding;
  return block;
}

void* CoTaskMemRealloc(void* block, size_t size) {
  if (!block) return CoTaskMemAlloc(size);
  return std::realloc(block, size ? size : 1);
}

void CoTaskMemFree(void* block) {
  if (!block) return;
  --g_outstanding;
  std::free(block);
}

int64_t CoTaskMemOutstanding() {
  return g_outstanding.load();
}
}
