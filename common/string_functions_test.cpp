#include "common/string_functions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TEST(StringFunctions, Trim) {
  char text[] = "\t  word \r\n";
  EXPECT_STREQ(TrimControl(text), "word");
  char keep[] = "\xa0word";
  EXPECT_STREQ(TrimControl(keep), "\xa0word");
  char all[] = " \t\x01";
  EXPECT_STREQ(TrimControl(all), "");
  EXPECT_EQ(TrimControl(nullptr), nullptr);
  char trailing[] = "  a b \t\n";
  EXPECT_STREQ(TrimTrailingSpace(trailing), "  a b");
  char spaces[] = " \t ";
  EXPECT_STREQ(TrimTrailingSpace(spaces), "");
}

TEST(StringFunctions, FindNoCase) {
  const char* hay = "Hello World";
  EXPECT_EQ(FindNoCase(hay, "WORLD"), hay + 6);
  EXPECT_EQ(FindNoCase("", ""), nullptr);
  EXPECT_EQ(FindNoCase(hay, ""), hay);
  EXPECT_EQ(FindNoCase(hay, "worlds"), nullptr);
  const char16_t* whay = u"Stra\u00dfe ENDE";
  EXPECT_EQ(FindNoCase(whay, u"ende"), whay + 7);
  // Only a-z fold: an accented capital does not match its small letter.
  EXPECT_EQ(FindNoCase(u"\u00c9t\u00e9", u"\u00e9t"), nullptr);
  // Texts that need not end in a 0: their first length units, or those before a 0.
  EXPECT_TRUE(ContainsNoCase("abXYcd", 4, "xy", 2));
  EXPECT_FALSE(ContainsNoCase("abXYcd", 3, "xy", 2));
  EXPECT_FALSE(ContainsNoCase("ab\0cd", 5, "cd", 2));
  EXPECT_FALSE(ContainsNoCase("", 0, "", 0));
  EXPECT_TRUE(ContainsNoCase("\xc9", 1, u"\u00c9", 1));
  EXPECT_FALSE(ContainsNoCase(u"\u00c9t\u00e9", 3, u"\u00e9t", 2));
  const unsigned char le[] = {0, 'O', 0, 'k', 0};  // "Ok", one byte off alignment
  EXPECT_TRUE(ContainsNoCaseLE(le + 1, 2, u"OK", 2));
  EXPECT_FALSE(ContainsNoCaseLE(le + 1, 1, u"OK", 2));
  // Longer texts are passed over eight bytes at a time up to a place that may match or a 0.
  for (const std::string& text :
       {std::string("01234567NEEDLE"), std::string("0123NEEDLE4567"),
        std::string("01234567\0001234567needle", 22), std::string("0123\000567needle", 14)}) {
    const bool found = text.find('\0') == std::string::npos;
    EXPECT_EQ(ContainsNoCase(text.data(), text.size(), "needle", 6), found) << text;
    std::string wide(1, '\0');  // UTF-16LE, one byte off alignment
    for (char c : text) wide += std::string{c, '\0'};
    const auto* units = reinterpret_cast<const unsigned char*>(wide.data() + 1);
    EXPECT_EQ(ContainsNoCaseLE(units, text.size(), u"NEEDLE", 6), found) << text;
  }
}

TEST(StringFunctions, DuplicatesAndConversions) {
  std::unique_ptr<char16_t[]> w(DupWideFromNarrow("a\xe9"));
  EXPECT_EQ(w[0], u'a');
  EXPECT_EQ(w[1], u'\u00e9');
  EXPECT_EQ(w[2], 0);
  std::unique_ptr<char[]> n(DupNarrowFromWide(u"x\u00ff"));
  EXPECT_STREQ(n.get(), "x\xff");
  std::unique_ptr<char[]> cut(DupNarrowFromWide(u"ab\u20acc"));
  EXPECT_STREQ(cut.get(), "ab");
  std::unique_ptr<char[]> none(DupNarrowFromWide(nullptr));
  EXPECT_EQ(none[0], 0);
  EXPECT_EQ(none[1], 0);
  std::unique_ptr<char16_t[]> copy(DupWide(u"abc"));
  EXPECT_EQ(WideCompare(copy.get(), u"abc"), 0);
  EXPECT_EQ(WideLength(copy.get()), 3);
  EXPECT_EQ(WideCompare(u"ab", u"abc"), -1);
  EXPECT_EQ(NarrowLengthOfWide(u"a\u0100"), -1);
}

}  // namespace
