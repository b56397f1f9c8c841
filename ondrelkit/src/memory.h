// Objects the library hands out live in memory from the client's callbacks.
#pragma once

#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "src/errors.h"

namespace ondrelkit {

const OkMemoryCallbacks& Memory();

// Every handed-out object starts with this header, so PdfRelease can destroy any of them.
struct Handle {
  virtual ~Handle() = default;
  // Handles that their document or page frees; PdfRelease leaves them alone.
  virtual bool OwnedByDocument() const { return false; }
};

// Keeps the count that OkBlocksInUse reports.
void CountBlocks(int64_t change);

// A block from the client's callbacks; raises "out of memory" when they cannot give it.
inline void* Allocate(size_t size) {
  const OkMemoryCallbacks& memory = Memory();
  if (memory.available(memory.context) < size) Raise(kErrOutOfMemory);
  void* block = memory.allocate(memory.context, size);
  if (!block) Raise(kErrOutOfMemory);
  CountBlocks(1);
  return block;
}

// Gives a block from Allocate back to the client's callbacks.
inline void Free(void* block) {
  if (!block) return;
  CountBlocks(-1);
  Memory().release(Memory().context, block);
}

// Lets standard containers inside handed-out objects take their memory from the callbacks.
template <typename T>
struct CallbackAllocator {
  using value_type = T;
  CallbackAllocator() = default;
  template <typename U>
  CallbackAllocator(const CallbackAllocator<U>&) {}
  T* allocate(size_t count) {
    if (count > SIZE_MAX / sizeof(T)) Raise(kErrOutOfMemory);
    return static_cast<T*>(Allocate(count * sizeof(T)));
  }
  void deallocate(T* block, size_t) { Free(block); }
  template <typename U>
  bool operator==(const CallbackAllocator<U>&) const {
    return true;
  }
};

template <typename T>
using LibVector = std::vector<T, CallbackAllocator<T>>;

template <typename T, typename... Args>
T* New(Args&&... args) {
  void* block = Allocate(sizeof(T));
  try {
    return new (block) T(std::forward<Args>(args)...);
  } catch (...) {
    Free(block);
    throw;
  }
}

inline void Delete(Handle* handle) {
  if (!handle) return;
  handle->~Handle();
  Free(handle);
}

}  // namespace ondrelkit
