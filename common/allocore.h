// The process's memory manager: every global operator new/delete form, small blocks from a pool
// of size classes (small_block_pool.h), larger ones over malloc/free.
// The std::nothrow forms return null when a request cannot be met; the plain forms throw
// std::bad_alloc as the language requires. Tests can make an allocation fail on purpose and
// can count the allocations that are still alive.
#pragma once

#include <cstdint>

namespace allocore {

// Makes the nth allocation from now fail (1 = the very next one); 0 disarms.
void FailAfter(int64_t nth);
// Makes every allocation from the nth one on fail, until disarmed with FailAfter(0).
void FailFrom(int64_t nth);
// Allocations made through the global operators since start-up that have not been freed.
int64_t LiveCount();
// Total allocation requests since start-up (failed ones included).
int64_t RequestCount();

// Ends the process with code after flushing every C stream, without freeing what the process
// still holds: the system takes it all back at once, where freeing a large database block by
// block costs a tenth of loading it. With a leak checker linked in, the process exits normally
// so that the checker still sees every block, and so does a coverage build (TX_COVERAGE_BUILD
// defined), whose counts are written at exit.
[[noreturn]] void ExitKeepingMemory(int code);

}  // namespace allocore
