// The library's error codes (see ERRORS.md) and the one way to raise them.
#pragma once

#include <cstdint>

namespace ondrelkit {

constexpr int32_t kErrNotInitialised = 1;
constexpr int32_t kErrBadArgument = 2;
constexpr int32_t kErrOutOfMemory = 3;
constexpr int32_t kErrFileOpen = 4;
constexpr int32_t kErrDamaged = 5;
constexpr int32_t kErrNoStructure = 6;
constexpr int32_t kErrWrongType = 7;
constexpr int32_t kErrNoDate = 8;
constexpr int32_t kErrNeedsPassword = 9;

[[noreturn]] void Raise(int32_t code);

}  // namespace ondrelkit
