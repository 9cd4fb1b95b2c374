// Escapes and number fields of the dialogs.
#include "strandex/ui/field_text.h"

#include <gtest/gtest.h>

#include <string>

namespace ui {
namespace {

TEST(FieldTextTest, UnescapeReadsOnlyBackslashTAndN) {
  struct Case {
    const char* stored;
    const char* shown;
  } const cases[] = {
      {"a\tb\nc", "a\\tb\\nc"},
      {"C:\\x\\", "C:\\x\\"},  // other backslashes, and one at the end, stay
      {"\r\n", "\r\\n"},       // a carriage return shows as it is
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(Escape(c.stored)), c.shown);
    EXPECT_EQ(std::string(Unescape(c.shown)), c.stored);
  }
  EXPECT_EQ(std::string(Unescape("C:\\temp\\Notes\\T")), "C:\temp\\Notes\\T");  // case-sensitive
  EXPECT_EQ(std::string(Unescape("\\\\n")), "\\\n");
  EXPECT_EQ(std::u16string(Unescape(u"\u0416\\t").Chars()), u"\u0416\t");
}

TEST(FieldTextTest, NumbersAreReadAsADialogFieldHoldsThem) {
  struct Case {
    const char16_t* text;
    bool is_signed;
    bool valid;
    int64_t value;
  } const cases[] = {
      {u"1005", false, true, 1005},
      {u"  7 ", false, true, 7},
      {u"4294967295", false, true, 4294967295LL},
      {u"4294967296", false, false, 0},
      {u"-1", false, false, 0},
      {u"-1", true, true, -1},
      {u"-2147483648", true, true, -2147483648LL},
      {u"2147483648", true, false, 0},
      {u"", true, false, 0},
      {u"-", true, false, 0},
      {u"12x", false, false, 0},
      {u"1 2", false, false, 0},
  };
  for (const Case& c : cases) {
    int64_t value = 0;
    EXPECT_EQ(ParseFieldNumber(c.text, c.is_signed, &value), c.valid) << std::u16string(c.text).size();
    if (c.valid) {
      EXPECT_EQ(value, c.value);
    }
  }
}

TEST(FieldTextTest, NarrowFormIsRefusedForCharactersAboveFF) {
  NarrowStringClass out("kept");
  EXPECT_FALSE(NarrowFromField(u"a\u0100", 10, out));
  EXPECT_EQ(std::string(out), "kept");
  EXPECT_TRUE(NarrowFromField(u"\u00e9abc\u0100", 3, out));  // cut before the wide character
  EXPECT_EQ(std::string(out),
            "\xe9"
            "ab");
}

}  // namespace
}  // namespace ui
