#include "platform/tlruntime/tl_runtime.h"

#include <atomic>

namespace {
std::atomic<int32_t> g_active{0};
std::atomic<int64_t> g_startups{0};
std::atomic<int64_t> g_shutdowns{0};
}  // namespace

extern "C" {

int32_t TlMemStartup() {
  ++g_active;
  ++g_startups;
  return 0;
}

int32_t TlMemShutdown() {
  int32_t active = g_active.load();
  do {
    if (active <= 0) return -1;
  } while (!g_active.compare_exchange_weak(active, active - 1));
  ++g_shutdowns;
  return 0;
}

int32_t TlMemActiveStarts() {
  return g_active.load();
}
int64_t TlMemStartupCount() {
  return g_startups.load();
}
int64_t TlMemShutdownCount() {
  return g_shutdowns.load();
}
}
