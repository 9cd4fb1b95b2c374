#include "common/array.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "common/allocore.h"
#include "common/string_class.h"

namespace {

TEST(DynamicArray, RefusesToGrowWithoutStepOrInBorrowedStorage) {
  DynamicArrayClass<int> a;
  a.SetGrowthStep(0);
  EXPECT_FALSE(a.Add(1));
  EXPECT_EQ(a.Count(), 0);

  int storage[2] = {7, 7};
  DynamicArrayClass<int> b;
  ASSERT_TRUE(b.Resize(2, storage));
  EXPECT_TRUE(b.Add(1));
  EXPECT_TRUE(b.Add(2));
  EXPECT_FALSE(b.Add(3));
  EXPECT_EQ(storage[1], 2);
  b.Clear();  // borrowed storage is let go, not freed
  EXPECT_EQ(b.Length(), 0);
}

TEST(DynamicArray, ResizeDeleteAndIndexOf) {
  DynamicArrayClass<int> a;
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(AddDoubling(a, i * 10));
  EXPECT_EQ(a.Length(), 64);  // doubling starts at 64 slots
  ASSERT_TRUE(a.Resize(3));
  EXPECT_EQ(a.Count(), 3);
  EXPECT_EQ(a[2], 20);
  EXPECT_FALSE(a.Delete(3));
  EXPECT_FALSE(a.Delete(-1));
  EXPECT_TRUE(a.Delete(0));
  EXPECT_EQ(std::vector<int>(&a[0], &a[0] + a.Count()), (std::vector<int>{10, 20}));
  // Slot 2 still holds 20 but lies beyond the count.
  EXPECT_EQ(a.IndexOf(20), 1);
  a.Delete(1);
  EXPECT_EQ(a.IndexOf(20), -1);
  ArrayClass<int>& base = a;
  EXPECT_EQ(base.ArrayClass<int>::IndexOf(20), 1);
  EXPECT_EQ(a.IndexOf(&a[1]), 1);
  EXPECT_TRUE(a.Resize(0));
  EXPECT_EQ(a.Count(), 0);
}

TEST(DynamicArray, StringElementsAreConstructedCopiedAndReleased) {
  int64_t before = allocore::LiveCount();
  {
    DynamicArrayClass<UnicodeStringClass> a;
    a.Add(UnicodeStringClass(u"one"));
    a.Add(a[0]);  // adding one of its own elements
    for (int i = 0; i < 9; ++i) a.Add(a[0]);
    EXPECT_EQ(a.Count(), 11);
    EXPECT_EQ(a[10], UnicodeStringClass(u"one"));
    EXPECT_TRUE(a[15].IsEmpty());
    EXPECT_EQ(a.IndexOf(UnicodeStringClass(u"one")), 0);
    DynamicArrayClass<UnicodeStringClass> b;
    b = a;
    EXPECT_TRUE(a == b);
    b[3] = u"two";
    EXPECT_FALSE(a == b);
  }
  EXPECT_EQ(allocore::LiveCount(), before);
}

TEST(DynamicArray, AddMovesAStringInWithoutCopyingIt) {
  DynamicArrayClass<UnicodeStringClass> a;
  UnicodeStringClass text(u"moved");
  const char16_t* chars = text.Chars();
  ASSERT_TRUE(a.Add(std::move(text)));
  EXPECT_EQ(a[0].Chars(), chars);
  EXPECT_TRUE(text.IsEmpty());
  // One of its own elements, moved in while the array grows.
  for (int i = 1; i < 10; ++i) a.Add(UnicodeStringClass(u"x"));
  ASSERT_TRUE(a.Add(std::move(a[0])));
  EXPECT_EQ(a.Count(), 11);
  EXPECT_EQ(a[10].Chars(), chars);
  EXPECT_TRUE(a[0].IsEmpty());
}

TEST(DynamicArray, OutOfMemoryLeavesTheArrayAsItWas) {
  DynamicArrayClass<int> a;
  for (int i = 0; i < 10; ++i) a.Add(i);
  allocore::FailAfter(1);
  EXPECT_FALSE(a.Add(10));
  allocore::FailAfter(0);
  EXPECT_EQ(a.Count(), 10);
  EXPECT_EQ(a[9], 9);

  allocore::FailAfter(1);
  EXPECT_FALSE(a.Resize(50));
  allocore::FailAfter(0);
  EXPECT_EQ(a.Length(), 10);

  DynamicArrayClass<int> b;
  b.Add(1);
  allocore::FailAfter(1);
  b = a;
  allocore::FailAfter(0);
  EXPECT_EQ(b.Count(), 0);

  // A size that does not fit 32 bits is refused rather than wrapped.
  EXPECT_FALSE(a.Resize(0x7FFFFFFF));
  EXPECT_EQ(a.Length(), 10);
}

}  // namespace
