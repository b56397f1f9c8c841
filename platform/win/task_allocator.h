// The task allocator shared by host and clients for memory handed across the client interface.
// One allocator per process: blocks allocated on one side are freed on the other.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {
void* CoTaskMemAlloc(size_t size);
void* CoTaskMemRealloc(void* block, size_t size);
void CoTaskMemFree(void* block);
// Blocks allocated and not yet freed, for tests that check the hand-over rules.
int64_t CoTaskMemOutstanding();
}
