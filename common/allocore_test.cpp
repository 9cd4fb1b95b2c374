#include "common/allocore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace {

TEST(Allocore, CountsLiveAllocations) {
  int64_t before = allocore::LiveCount();
  void* p = ::operator new(16);
  void* a = ::operator new[](100);
  EXPECT_EQ(allocore::LiveCount(), before + 2);
  ::operator delete(p);
  ::operator delete[](a);
  EXPECT_EQ(allocore::LiveCount(), before);
}

TEST(Allocore, NthAllocationFails) {
  allocore::FailAfter(2);
  void* first = ::operator new[](16, std::nothrow);
  void* second = ::operator new[](16, std::nothrow);
  void* third = ::operator new(16, std::nothrow);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(third, nullptr);
  ::operator delete[](first);
  ::operator delete(third);

  allocore::FailAfter(1);
  EXPECT_THROW((void)new int(1), std::bad_alloc);

  allocore::FailFrom(2);
  void* ok = ::operator new(8, std::nothrow);
  EXPECT_NE(ok, nullptr);
  EXPECT_EQ(::operator new(8, std::nothrow), nullptr);
  EXPECT_EQ(::operator new(8, std::nothrow), nullptr);
  allocore::FailAfter(0);
  void* again = ::operator new(8, std::nothrow);
  EXPECT_NE(again, nullptr);
  ::operator delete(ok);
  ::operator delete(again);
}

TEST(Allocore, SmallAndLargeBlocksAreAlignedAndKeepTheirBytes) {
  // Blocks of every small size and a few large ones, filled, half freed and reallocated:
  // every block stays 16-byte aligned and keeps its own bytes.
  std::vector<std::pair<unsigned char*, size_t>> blocks;
  for (int round = 0; round < 3; ++round) {
    for (size_t size = 0; size <= 300; ++size) {
      auto* p = static_cast<unsigned char*>(::operator new(size == 300 ? 70000 : size));
      size_t n = size == 300 ? 70000 : size;
      EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 16, 0u) << size;
      memset(p, static_cast<int>(size & 0xFF), n);
      blocks.push_back({p, n});
    }
    for (size_t i = round; i < blocks.size(); i += 2) {
      ::operator delete(blocks[i].first);
      blocks[i].first = nullptr;
    }
    std::erase_if(blocks, [](auto& b) { return b.first == nullptr; });
  }
  for (auto& [p, n] : blocks) {
    unsigned char expect = static_cast<unsigned char>((n == 70000 ? 300 : n) & 0xFF);
    for (size_t i = 0; i < n; ++i) ASSERT_EQ(p[i], expect);
    ::operator delete(p);
  }
}

}  // namespace
