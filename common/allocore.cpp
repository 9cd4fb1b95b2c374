// Global operator new/delete: small blocks from the pool, the rest over malloc/free, with a
// failure hook and a live-allocation count.
#include "common/allocore.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#if defined(_WIN32)
#include <malloc.h>
#endif

#include "common/small_block_pool.h"

#if defined(__unix__)
// Present when a leak checker is linked in.
extern "C" void __lsan_do_leak_check() __attribute__((weak));
#endif

namespace allocore {
namespace {

std::atomic<int64_t> g_live{0};
std::atomic<int64_t> g_requests{0};
// Request number (1-based) at which failures start; 0 = never.
std::atomic<int64_t> g_fail_at{0};
std::atomic<bool> g_fail_sticky{false};

// Counts the request and tells whether the failure hook wants it refused.
bool InjectFailure() noexcept {
  int64_t n = g_requests.fetch_add(1, std::memory_order_relaxed) + 1;
  int64_t at = g_fail_at.load(std::memory_order_relaxed);
  return at != 0 && (n == at || (n > at && g_fail_sticky.load(std::memory_order_relaxed)));
}

// 32-bit Windows' malloc aligns its blocks to 8 bytes, less than the compiler takes for granted of
// operator new (__STDCPP_DEFAULT_NEW_ALIGNMENT__, 16): there the plain blocks are aligned ones.
#if defined(_WIN32) && !defined(_WIN64)
void* SystemAlloc(std::size_t size) noexcept {
  return _aligned_malloc(size, __STDCPP_DEFAULT_NEW_ALIGNMENT__);
}
void SystemFree(void* p) noexcept { _aligned_free(p); }
#else
void* SystemAlloc(std::size_t size) noexcept { return std::malloc(size); }
void SystemFree(void* p) noexcept { std::free(p); }
#endif

void* Allocate(std::size_t size) noexcept {
  if (InjectFailure()) return nullptr;
  void* p = size <= kSmallBlockMax ? SmallBlockAllocate(size) : nullptr;
  if (!p) p = SystemAlloc(size == 0 ? 1 : size);
  if (p) g_live.fetch_add(1, std::memory_order_relaxed);
  return p;
}

void Free(void* p) noexcept {
  if (!p) return;
  g_live.fetch_sub(1, std::memory_order_relaxed);
  if (!SmallBlockFree(p)) SystemFree(p);
}

// The Windows C runtime has no aligned_alloc: its aligned blocks come from _aligned_malloc and go
// back to _aligned_free.
void* SystemAlignedAlloc(std::size_t align, std::size_t size) noexcept {
#if defined(_WIN32)
  return _aligned_malloc(size, align);
#else
  return std::aligned_alloc(align, size);
#endif
}

void FreeAligned(void* p) noexcept {
  if (!p) return;
  g_live.fetch_sub(1, std::memory_order_relaxed);
#if defined(_WIN32)
  _aligned_free(p);
#else
  std::free(p);
#endif
}

void* AllocateOrThrow(std::size_t size) {
  void* p = Allocate(size);
  if (!p) throw std::bad_alloc();
  return p;
}

void* AllocateAligned(std::size_t size, std::align_val_t align) noexcept {
  if (InjectFailure()) return nullptr;
  std::size_t a = static_cast<std::size_t>(align);
  if (a < sizeof(void*)) a = sizeof(void*);
  std::size_t rounded = (size + a - 1) / a * a;
  void* p = SystemAlignedAlloc(a, rounded == 0 ? a : rounded);
  if (p) g_live.fetch_add(1, std::memory_order_relaxed);
  return p;
}

}  // namespace

void FailAfter(int64_t nth) {
  g_fail_sticky = false;
  g_fail_at = nth <= 0 ? 0 : g_requests.load() + nth;
}

void FailFrom(int64_t nth) {
  g_fail_sticky = nth > 0;
  g_fail_at = nth <= 0 ? 0 : g_requests.load() + nth;
}

int64_t LiveCount() { return g_live.load(); }
int64_t RequestCount() { return g_requests.load(); }

void ExitKeepingMemory(int code) {
#if defined(TX_COVERAGE_BUILD)
  // A coverage build writes its counts from the exit handlers, which _Exit skips.
  std::exit(code);
#endif
#if defined(__unix__)
  if (&__lsan_do_leak_check != nullptr) std::exit(code);
#endif
  std::fflush(nullptr);
  std::_Exit(code);
}

}  // namespace allocore

using allocore::Allocate;
using allocore::Free;
using allocore::FreeAligned;

void* operator new(std::size_t size) { return allocore::AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocore::AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }

void* operator new(std::size_t size, std::align_val_t a) {
  void* p = allocore::AllocateAligned(size, a);
  if (!p) throw std::bad_alloc();
  return p;
}
void* operator new[](std::size_t size, std::align_val_t a) {
  void* p = allocore::AllocateAligned(size, a);
  if (!p) throw std::bad_alloc();
  return p;
}
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return allocore::AllocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return allocore::AllocateAligned(size, a);
}
void operator delete(void* p, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete[](void* p, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { FreeAligned(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { FreeAligned(p); }
