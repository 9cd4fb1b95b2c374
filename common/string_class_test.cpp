#include "common/string_class.h"

#include <gtest/gtest.h>

#include <string>

#include "common/allocore.h"
#include "common/temp_string_pool.h"
#include "common/testing/print_strings.h"

namespace {

template <typename CharT>
int SlotOf(const BasicStringClass<CharT>& s) {
  return TempPoolSlotOf<CharT>(s.Chars() - 8 / sizeof(CharT));
}

TEST(StringClass, EmptyAndNullAssignments) {
  NarrowStringClass a;
  EXPECT_STREQ(a, "");
  EXPECT_EQ(UnicodeStringClass().Chars()[0], 0);
  NarrowStringClass c("abc");
  c.AcquireBuffer(-3, true);  // a buffer of no size is the empty string
  EXPECT_STREQ(c, "");
  NarrowStringClass s("hello");
  s.Assign(static_cast<const char*>(nullptr));
  EXPECT_STREQ(s, "hello");
}

TEST(StringClass, TemporariesTakeEightPoolSlotsThenTheHeap) {
  NarrowStringClass* s[9];
  for (int i = 0; i < 9; ++i) s[i] = new NarrowStringClass("0123456789", true);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(SlotOf(*s[i]), i < 8 ? i : -1);
  delete s[3];
  NarrowStringClass again("x", true);
  EXPECT_EQ(SlotOf(again), 3);
  for (int i = 0; i < 9; ++i) delete (i == 3 ? nullptr : s[i]);
  again.Release();
  EXPECT_EQ(CurrentTempStringPool().narrow_free_mask, 0xFFu);

  // Only a buffer smaller than a slot (248 narrow, 256 wide units) takes one.
  for (int units : {247, 248}) {
    NarrowStringClass narrow;
    UnicodeStringClass wide;
    narrow.AcquireBuffer(units, true);
    wide.AcquireBuffer(units + 8, true);
    EXPECT_EQ(SlotOf(narrow), units < 248 ? 0 : -1);
    EXPECT_EQ(SlotOf(wide), units < 248 ? 0 : -1);
  }
}

TEST(StringClass, PooledStringMovesToHeapWhenItOutgrowsItsSlot) {
  NarrowStringClass s("start", true);
  ASSERT_EQ(SlotOf(s), 0);
  std::string expect = "start";
  while (expect.size() < 247) {
    s.Append('x');
    expect += 'x';
  }
  EXPECT_EQ(SlotOf(s), 0);
  s.Append('y');
  expect += 'y';
  EXPECT_EQ(SlotOf(s), -1);
  EXPECT_EQ(std::string(s), expect);
  EXPECT_EQ(CurrentTempStringPool().narrow_free_mask, 0xFFu);
  s = "abc";  // appending its own text
  s.Append(s.Chars());
  s.Append(s);
  EXPECT_STREQ(s, "abcabcabcabc");
}

TEST(StringClass, ConversionsFollowTheByteIsCodeRule) {
  NarrowStringClass n("keep");
  EXPECT_FALSE(n.FromWide(u""));
  EXPECT_STREQ(n, "keep");
  EXPECT_FALSE(n.FromWide(u"caf\u0101"));  // no narrow form
  EXPECT_STREQ(n, "keep");
  EXPECT_TRUE(n.FromWide(u"caf\u00e9"));
  EXPECT_STREQ(n, "caf\xe9");

  UnicodeStringClass w(u"old");
  EXPECT_TRUE(w.FromNarrow(""));
  EXPECT_TRUE(w.IsEmpty());
  EXPECT_TRUE(w.FromNarrow("\xe9t\xe9"));
  EXPECT_EQ(w, UnicodeStringClass(u"\u00e9t\u00e9"));
  EXPECT_TRUE(w.IsSingleByte());
  w.Append(u'\u20ac');
  EXPECT_FALSE(w.IsSingleByte());
  EXPECT_FALSE(w.FromNarrow(nullptr));
}

TEST(StringClass, CompareIsUnsignedBytewise) {
  NarrowStringClass s("ab\xe9");
  EXPECT_EQ(s.Compare("ab\xe9"), 0);
  EXPECT_EQ(s.Compare("abz"), 1);  // 0xE9 > 'z' as unsigned
  EXPECT_EQ(s.Compare("abc\xff"), 1);
  EXPECT_EQ(s.Compare("ab\xe9x"), -1);
  EXPECT_EQ(s, "ab\xe9");
  EXPECT_TRUE(s != "ab");
}

TEST(StringClass, WideEditing) {
  UnicodeStringClass s(u"hello world");
  EXPECT_EQ(s.Substring(6, 5), u"world");
  s.Erase(0, 0);
  EXPECT_EQ(s, u"hello world");
  s.Erase(5, 6);
  EXPECT_EQ(s, u"hello");
  UnicodeStringClass t(u"a\\tb");
  t.Replace(1, 2, UnicodeStringClass(u"\t"));
  EXPECT_EQ(t, u"a\tb");
  t.Replace(1, 1, UnicodeStringClass(u"-long-"));
  EXPECT_EQ(t, u"a-long-b");
  EXPECT_EQ(UnicodeStringClass::Concat(UnicodeStringClass(u"ab"), u"cd"), u"abcd");
  EXPECT_EQ(CurrentTempStringPool().wide_free_mask, 0xFu);
}

TEST(StringClass, FormatKeepsToTheWorkArea) {
  NarrowStringClass s;
  std::string long511(511, 'x');
  EXPECT_EQ(s.Format("%s", long511.c_str()), 511);
  EXPECT_EQ(s.Length(), 511);
  std::string long600(600, 'y');
  EXPECT_EQ(s.Format("%s", long600.c_str()), -1);
  EXPECT_EQ(s.Length(), 511);
  EXPECT_EQ(s.Format(nullptr), 0);
  EXPECT_EQ(s.Length(), 511);
  s.Format("ERROR %d: %s", 5, "Access denied");
  EXPECT_STREQ(s, "ERROR 5: Access denied");

  UnicodeStringClass w;
  std::u16string wide600(600, u'z');
  EXPECT_EQ(w.Format(u"%s", wide600.c_str()), -1);
  EXPECT_EQ(w.Length(), 511);
  w.Format(u"%s=%S %hs %d", u"k\u00e9", "n", "h", -7);
  EXPECT_EQ(w, UnicodeStringClass(u"k\u00e9=n h -7"));
}

TEST(StringClass, TryAssignReportsOutOfMemoryAndKeepsTheString) {
  NarrowStringClass s("ab");
  allocore::FailAfter(1);
  EXPECT_FALSE(s.TryAssign("a much longer text"));
  allocore::FailAfter(0);
  EXPECT_STREQ(s, "ab");
  EXPECT_TRUE(s.TryAssign("a"));
  EXPECT_STREQ(s, "a");
}

}  // namespace
