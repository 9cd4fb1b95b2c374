// The small-block pool over one reserved address range.
#include "common/small_block_pool.h"

#include <atomic>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define ALLOCORE_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ALLOCORE_POOL 0
#endif
#endif
#if !defined(ALLOCORE_POOL) && defined(__unix__)
#define ALLOCORE_POOL 1
#include <sys/mman.h>
#endif
#ifndef ALLOCORE_POOL
#define ALLOCORE_POOL 0
#endif

#if ALLOCORE_POOL
// Present when a leak checker is linked in (for example into a fuzz target whose libraries are
// built without sanitizers): it does not look inside the pool, so the pool then stays unused.
extern "C" void __lsan_do_leak_check() __attribute__((weak));
#endif

namespace allocore {
namespace {

#if ALLOCORE_POOL

constexpr std::size_t kGranule = 16;
constexpr std::size_t kClasses = kSmallBlockMax / kGranule;
constexpr std::size_t kClassSpan = std::size_t(1) << 30;  // address space per size class
constexpr std::size_t kCommitStep = std::size_t(1) << 20;

struct FreeBlock {
  FreeBlock* next;
};

struct SizeClass {
  FreeBlock* free_list;
  char* bump;       // next never-used block
  char* committed;  // end of the usable part of the region
  char* end;        // end of the region
};

std::atomic_flag g_lock = ATOMIC_FLAG_INIT;
bool g_initialised = false;
char* g_base = nullptr;  // null when the address range could not be reserved
SizeClass g_classes[kClasses];

class Guard {
 public:
  Guard() {
    while (g_lock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~Guard() { g_lock.clear(std::memory_order_release); }
};

// Reserves the range without committing memory: pages become usable as regions grow.
void Initialise() {
  g_initialised = true;
  if (&__lsan_do_leak_check != nullptr) return;
  void* base =
      mmap(nullptr, kClasses * kClassSpan, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (base == MAP_FAILED) return;
  g_base = static_cast<char*>(base);
  for (std::size_t c = 0; c < kClasses; ++c) {
    char* region = g_base + c * kClassSpan;
    g_classes[c] = {nullptr, region, region, region + kClassSpan};
  }
}

bool Commit(SizeClass& sc) {
  if (sc.committed + kCommitStep > sc.end) return false;
  if (mprotect(sc.committed, kCommitStep, PROT_READ | PROT_WRITE) != 0) return false;
  sc.committed += kCommitStep;
  return true;
}

#endif

}  // namespace

void* SmallBlockAllocate(std::size_t size) noexcept {
#if ALLOCORE_POOL
  std::size_t c = size == 0 ? 0 : (size - 1) / kGranule;
  std::size_t block = (c + 1) * kGranule;
  Guard guard;
  if (!g_initialised) Initialise();
  if (!g_base) return nullptr;
  SizeClass& sc = g_classes[c];
  if (FreeBlock* b = sc.free_list) {
    sc.free_list = b->next;
    return b;
  }
  if (sc.bump + block > sc.committed && !Commit(sc)) return nullptr;
  void* p = sc.bump;
  sc.bump += block;
  return p;
#else
  (void)size;
  return nullptr;
#endif
}

bool SmallBlockFree(void* p) noexcept {
#if ALLOCORE_POOL
  char* at = static_cast<char*>(p);
  // g_base only ever changes from null once, before the first pooled block exists.
  char* base = g_base;
  if (!base || at < base || at >= base + kClasses * kClassSpan) return false;
  std::size_t c = static_cast<std::size_t>(at - base) / kClassSpan;
  Guard guard;
  FreeBlock* b = reinterpret_cast<FreeBlock*>(at);
  b->next = g_classes[c].free_list;
  g_classes[c].free_list = b;
  return true;
#else
  (void)p;
  return false;
#endif
}

}  // namespace allocore
