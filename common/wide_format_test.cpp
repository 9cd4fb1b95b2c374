#include "common/wide_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Formats into out, an area of count units; returns the length of the whole result.
int FormatInto(char16_t* out, int count, const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = WideFormat(out, count, format, args);
  va_end(args);
  return n;
}

template <typename... Args>
std::u16string Format(const char16_t* format, Args... args) {
  char16_t out[64];
  int n = FormatInto(out, 64, format, args...);
  EXPECT_EQ(n, static_cast<int>(std::u16string(out).size()));
  return out;
}

TEST(WideFormat, StringsFollowTheWidePrintfRules) {
  EXPECT_EQ(Format(u"[%s]", u"w\u00e9"), u"[w\u00e9]");
  EXPECT_EQ(Format(u"[%S|%hs|%ls]", "n\xe9", "h", u"l"), u"[n\u00e9|h|l]");
  EXPECT_EQ(Format(u"[%5s|%-4s|%.2s]", u"ab", u"c", u"xyz"), u"[   ab|c   |xy]");
  EXPECT_EQ(Format(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
  EXPECT_EQ(Format(u"%c%C%%", u'\u20ac', 'z'), u"\u20acz%");
}

TEST(WideFormat, Numbers) {
  EXPECT_EQ(Format(u"%d %i %u", -5, 7, 4000000000u), u"-5 7 4000000000");
  EXPECT_EQ(Format(u"%08X %#x %o", 0xBEEFu, 255u, 8u), u"0000BEEF 0xff 10");
  EXPECT_EQ(Format(u"%*d|%-*d|", 4, 1, 3, 2), u"   1|2  |");
  EXPECT_EQ(Format(u"%lld %I64d %zu", -1LL, 1LL << 40, static_cast<size_t>(9)), u"-1 1099511627776 9");
  EXPECT_EQ(Format(u"%.3f %g", 1.5, 0.25), u"1.500 0.25");
}

// Pieces that would not fit a fixed pattern or render buffer: repeated flags, huge widths and
// precisions (cut to 4096), and long renderings.
TEST(WideFormat, LongConversionsStayBounded) {
  char16_t out[1];
  auto length = [&out](const char16_t* format, auto... args) { return FormatInto(out, 1, format, args...); };
  EXPECT_EQ(length(u"%-------------------1000.1000d", 5), 1000);
  EXPECT_EQ(length(u"%-+ #0-+ #0-+ #0-+ #0-+ #0-+ #0-+ #0-+ #0-+ #0d", 5), 2);
  EXPECT_EQ(length(u"%99999999999999999999.99999999999999999999d", 5), 4096);
  EXPECT_EQ(length(u"%*.*d", -99999, -1, 5), 4096);
  EXPECT_EQ(length(u"%.4000f", 1e300), 301 + 1 + 4000);
  EXPECT_EQ(length(u"%4096.4096Lf", 1e300L), 301 + 1 + 4096);
}

TEST(WideFormat, CutsAtTheAreaAndCountsTheWhole) {
  char16_t out[8];
  std::u16string long_text(20, u'x');
  auto run = [&out](const char16_t* format, auto... args) { return FormatInto(out, 8, format, args...); };
  EXPECT_EQ(run(u"%s", long_text.c_str()), 20);
  EXPECT_EQ(std::u16string(out), std::u16string(7, u'x'));
  EXPECT_EQ(run(u"abc%"), 4);  // a lone % is copied
  EXPECT_EQ(std::u16string(out), u"abc%");
}

}  // namespace
