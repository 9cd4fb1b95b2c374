#include "common/allocore.h"

#include <gtest/gtest.h>

#include <new>

namespace {

TEST(Allocore, CountsLiveAllocations) {
  int64_t before = allocore::LiveCount();
  void* p = ::operator new(16);
  void* a = ::operator new[](100);
  int64_t during = allocore::LiveCount();
  ::operator delete(p);
  ::operator delete[](a);
  int64_t after = allocore::LiveCount();
  EXPECT_EQ(during, before + 2);
  EXPECT_EQ(after, before);
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

}  // namespace
