// Small-block pool of the memory manager: requests of up to 256 bytes are served from one
// reserved stretch of address space, split into a region per 16-byte size class, each with a
// free list and a bump pointer. Freeing is a push on the class's free list and a block's class
// is found from its address alone, so the many small strings and records of a large database
// cost no general-purpose heap work. Memory is committed as regions fill and is reused, never
// returned to the system.
//
// Builds with AddressSanitizer, and programs with a leak checker linked in, do without the pool,
// so the sanitizer sees every block.
#pragma once

#include <cstddef>

namespace allocore {

constexpr std::size_t kSmallBlockMax = 256;

// A block of at least size bytes (size <= kSmallBlockMax), 16-byte aligned; null when the pool
// is not available or its region for this size is full (the caller then uses the heap).
void* SmallBlockAllocate(std::size_t size) noexcept;
// True when p came from the pool; the block is then taken back.
bool SmallBlockFree(void* p) noexcept;

}  // namespace allocore
