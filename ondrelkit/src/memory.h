// Objects the library hands out live in memory from the client's callbacks.
#pragma once

#include <new>
#include <utility>

#include "ondrelkit/ondrelkit.h"
#include "src/errors.h"

namespace ondrelkit {

const OkMemoryCallbacks& Memory();

// Every handed-out object starts with this header, so PdfRelease can destroy any of them.
struct Handle {
  virtual ~Handle() = default;
};

template <typename T, typename... Args>
T* New(Args&&... args) {
  const OkMemoryCallbacks& memory = Memory();
  if (memory.available(memory.context) < sizeof(T)) Raise(kErrOutOfMemory);
  void* block = memory.allocate(memory.context, sizeof(T));
  if (!block) Raise(kErrOutOfMemory);
  try {
    return new (block) T(std::forward<Args>(args)...);
  } catch (...) {
    memory.release(memory.context, block);
    throw;
  }
}

inline void Delete(Handle* handle) {
  if (!handle) return;
  handle->~Handle();
  Memory().release(Memory().context, handle);
}

}  // namespace ondrelkit
