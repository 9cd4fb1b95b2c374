// Lets GoogleTest print the toolset's strings in a failed EXPECT_EQ: a narrow string as its
// bytes, a wide string as UTF-8.
#pragma once

#include <ostream>

#include "common/string_class.h"
#include "common/utf8.h"

inline void PrintTo(const NarrowStringClass& text, std::ostream* out) { *out << '"' << text.Chars() << '"'; }

inline void PrintTo(const UnicodeStringClass& text, std::ostream* out) {
  NarrowStringClass utf8;
  WideToUtf8(text.Chars(), utf8);
  *out << "u\"" << utf8.Chars() << '"';
}
