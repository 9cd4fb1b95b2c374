#include "common/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/allocore.h"

namespace {

std::string ToUtf8(const std::u16string& text) {
  NarrowStringClass out;
  EXPECT_TRUE(WideToUtf8(text.c_str(), out));
  return std::string(out.Chars());
}

std::u16string ToWide(const std::string& bytes) {
  UnicodeStringClass out;
  EXPECT_TRUE(Utf8ToWide(bytes.data(), static_cast<int>(bytes.size()), out));
  return std::u16string(out.Chars());
}

TEST(Utf8, EncodesEachLengthAndLoneSurrogatesBecomeReplacement) {
  const std::string fffd = "\xEF\xBF\xBD";
  const std::pair<std::u16string, std::string> cases[] = {
      {u"A", "A"},
      {u"\u00e9", "\xC3\xA9"},
      {u"\u20ac", "\xE2\x82\xAC"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"\uffff", "\xEF\xBF\xBF"},
      {u"", ""},
      {std::u16string(1, char16_t(0xD800)), fffd},
      {std::u16string(1, char16_t(0xDC00)) + u"x", fffd + "x"},
      // A high surrogate followed by a non-surrogate, and two high surrogates in a row.
      {std::u16string{char16_t(0xD83D), u'a'}, fffd + "a"},
      {std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)}, fffd + "\xF0\x9F\x98\x80"},
  };
  for (const auto& [wide, utf8] : cases) EXPECT_EQ(ToUtf8(wide), utf8) << utf8;
}

TEST(Utf8, EveryCodePointRoundTrips) {
  for (char32_t c = 1; c <= 0x10FFFF; c += (c < 0x3000 ? 1 : 97)) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::u16string wide;
    if (c < 0x10000) {
      wide.push_back(static_cast<char16_t>(c));
    } else {
      wide.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
    std::string bytes = ToUtf8(wide);
    ASSERT_EQ(Utf8LengthOfWide(wide.data(), wide.size()), bytes.size());
    ASSERT_EQ(ToWide(bytes), wide) << static_cast<uint32_t>(c);
  }
}

TEST(Utf8, IllFormedInputBecomesOneReplacementPerSubpart) {
  const std::u16string r = u"\ufffd";
  EXPECT_EQ(ToWide("\x80"), r);                          // stray continuation byte
  EXPECT_EQ(ToWide("\xC0\xAF"), r + r);                  // overlong lead bytes are never valid
  EXPECT_EQ(ToWide("\xE0\x80\xAF"), r + r + r);          // overlong three-byte form
  EXPECT_EQ(ToWide("\xED\xA0\x80"), r + r + r);          // encoded surrogate
  EXPECT_EQ(ToWide("\xF4\x90\x80\x80"), r + r + r + r);  // above U+10FFFF
  EXPECT_EQ(ToWide("\xF5"), r);
  EXPECT_EQ(ToWide("\xE2\x82"), r);          // truncated at the end
  EXPECT_EQ(ToWide("\xE2\x82x"), r + u"x");  // truncated before an ASCII byte
  EXPECT_EQ(ToWide("a\xF0\x9F\x98"), u"a" + r);
  bool invalid = false;
  char16_t out[4];
  EXPECT_EQ(DecodeUtf8("ok", 2, out, &invalid), 2u);
  EXPECT_FALSE(invalid);
  EXPECT_EQ(DecodeUtf8("\xFF", 1, out, &invalid), 1u);
  EXPECT_TRUE(invalid);
}

TEST(Utf8, ZeroByteLongTextsAndMemoryFailure) {
  UnicodeStringClass zero;
  ASSERT_TRUE(Utf8ToWide("ab\0cd", 5, zero));  // a zero byte ends the text
  EXPECT_EQ(std::u16string(zero.Chars()), u"ab");
  ASSERT_TRUE(Utf8ToWide("xyz", -1, zero));  // -1: up to the zero byte
  EXPECT_EQ(std::u16string(zero.Chars()), u"xyz");
  std::u16string wide(5000, u'\u00e9');
  std::string bytes = ToUtf8(wide);
  EXPECT_EQ(bytes.size(), 10000u);
  EXPECT_EQ(ToWide(bytes), wide);

  NarrowStringClass out("kept");
  allocore::FailAfter(1);
  EXPECT_FALSE(WideToUtf8(wide.c_str(), out));
  allocore::FailAfter(0);
  EXPECT_EQ(std::string(out.Chars()), "kept");
}

}  // namespace
