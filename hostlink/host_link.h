// The process-wide link to the host: the interfaces it supplied, the notification object the
// client registered, and the rules for memory handed across.
#pragma once

#include <cstdint>

#include "tolvane/interfaces.h"

namespace osprevan::hostlink {

struct HostLink {
  void* module = nullptr;  // this library's module handle, as the host passed it
  tolvane::IUnknown* interfaces[tolvane::HOST_IF_COUNT] = {};
  int32_t sharedMemory = 0;  // 1: blocks returned by the host stay the host's
  tolvane::IUnknown* keepAlive = nullptr;
  // The notification object the client registered; the client layer owns its type.
  tolvane::ITolvaneNotifications0* notifications = nullptr;
  int32_t lastHostError = 0;

  tolvane::ITolvaneApi* Main() const {
    return static_cast<tolvane::ITolvaneApi*>(interfaces[tolvane::HOST_IF_MAIN]);
  }
  template <typename Interface>
  Interface* At(int index) const {
    return static_cast<Interface*>(interfaces[index]);
  }
};

// The one link of this library, empty until T_ApiClientInit fills it.
HostLink& Link();

}  // namespace osprevan::hostlink
