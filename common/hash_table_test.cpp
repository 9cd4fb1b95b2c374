#include "common/hash_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/allocore.h"

namespace {

std::vector<std::string> Walk(HashTableClass<int>& table) {
  std::vector<std::string> keys;
  HashTableIteratorClass<int> it(table);
  for (it.First(); !it.IsDone(); it.Next()) keys.push_back(it.Key());
  return keys;
}

TEST(HashTable, KeyValues) {
  EXPECT_EQ(HashKey("abc"), 143891u);
  EXPECT_EQ(HashKey("abcdefgh"), 1738513554u);
  EXPECT_EQ(HashKey("a"), 97u);
  EXPECT_EQ(HashKey(""), 0u);
  EXPECT_EQ(HashKey("\xe9"), 4294967273u);
  EXPECT_EQ(HashKey("abcdefgh"), HashKey("abcdwxyz"));
}

TEST(HashTable, GrowsAndFindsCollidingKeys) {
  HashTableClass<int> t;
  for (int i = 0; i < 9; ++i) ASSERT_TRUE(t.Insert(("k" + std::to_string(i)).c_str(), i));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(*t.Find(("k" + std::to_string(i)).c_str()), i);
  t.Insert("abcdefgh", 100);
  t.Insert("abcdwxyz", 200);
  EXPECT_EQ(*t.Find("abcdefgh"), 100);
  EXPECT_EQ(*t.Find("abcdwxyz"), 200);
  t.Insert("abc", 1);
  EXPECT_EQ(t.Find("Abc"), nullptr);
}

TEST(HashTable, RemovalsDuplicatesAndWalkOrder) {
  HashTableClass<int> t;
  EXPECT_EQ(t.Find("x"), nullptr);  // an empty table
  t.Remove("x");
  EXPECT_TRUE(Walk(t).empty());
  // "a" = 97 -> bucket 1 of 4; "b" = 98 -> 2; "e" = 101 -> 1: by bucket, then along the chain.
  t.Insert("a", 1);
  t.Insert("b", 2);
  t.Insert("e", 3);
  EXPECT_EQ(Walk(t), (std::vector<std::string>{"e", "a", "b"}));
  t.Remove("a");
  t.Remove("absent");
  EXPECT_EQ(t.Find("a"), nullptr);
  EXPECT_EQ(*t.Find("e"), 3);
  t.RemoveAll();
  EXPECT_TRUE(Walk(t).empty());
  // Equal keys sit in one chain, the newest found first; growth pushes them onto the new chain
  // in reverse.
  t.Insert("dup", 1);
  t.Insert("dup", 2);
  EXPECT_EQ(*t.Find("dup"), 2);
  for (const char* key : {"x1", "x2", "x3"}) t.Insert(key, 0);
  ASSERT_EQ(t.BucketCount(), 8u);
  EXPECT_EQ(*t.Find("dup"), 1);
}

TEST(HashTable, OutOfMemoryFailsTheInsertAndKeepsTheTable) {
  int64_t live = allocore::LiveCount();
  {
    HashTableClass<int> t;
    for (int i = 0; i < 4; ++i) t.Insert(("key" + std::to_string(i)).c_str(), i);
    // Growth: the first allocation (heads) or the second (entries) fails.
    for (int nth = 1; nth <= 2; ++nth) {
      allocore::FailAfter(nth);
      EXPECT_FALSE(t.Insert("new", 9));
      allocore::FailAfter(0);
      EXPECT_EQ(t.BucketCount(), 4u);
    }
    // The key copy fails after a successful growth.
    allocore::FailAfter(3);
    EXPECT_FALSE(t.Insert("a key longer than any before", 9));
    allocore::FailAfter(0);
    EXPECT_EQ(t.Find("a key longer than any before"), nullptr);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(*t.Find(("key" + std::to_string(i)).c_str()), i);
    EXPECT_TRUE(t.Insert("new", 9));
    EXPECT_EQ(*t.Find("new"), 9);
    EXPECT_EQ(Walk(t).size(), 5u);
  }
  EXPECT_EQ(allocore::LiveCount(), live);
}

}  // namespace
