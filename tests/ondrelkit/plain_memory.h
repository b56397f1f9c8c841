// Memory callbacks on the C heap, for tests that do not count the library's memory.
#pragma once

#include <cstdlib>

#include "ondrelkit/ondrelkit.h"

namespace ondrelkit::testing {

inline void* PlainAllocate(void*, size_t size) {
  return std::malloc(size);
}
inline void* PlainReallocate(void*, void* block, size_t size) {
  return std::realloc(block, size);
}
inline void PlainFree(void*, void* block) {
  std::free(block);
}
inline size_t PlainAvailable(void*) {
  return size_t{1} << 24;
}

inline const OkMemoryCallbacks kPlainMemory = {PlainAllocate, PlainReallocate, PlainFree,
                                               PlainAvailable, nullptr};

}  // namespace ondrelkit::testing
