// Text of dialog fields: the escapes of the Edit String dialog (a tab shows as "\t", a line
// feed as "\n"), reading numbers typed by a person, and the narrow form of a field.
#pragma once

#include <cstdint>

#include "common/string_class.h"

namespace ui {

// Every tab becomes backslash and "t", every line feed backslash and "n"; all else is copied.
NarrowStringClass Escape(const char* text);
UnicodeStringClass Escape(const char16_t* text);

// Left to right: backslash and "t" give a tab, backslash and "n" a line feed (case-sensitive);
// any other backslash is kept as it is.
NarrowStringClass Unescape(const char* text);
UnicodeStringClass Unescape(const char16_t* text);

// Reads a decimal number as a dialog field holds it: spaces before and after, a minus sign
// only when is_signed, then digits. False for an empty or malformed text and for a value
// outside 0 to 4294967295 (unsigned) or the 32-bit signed range (signed).
bool ParseFieldNumber(const char16_t* text, bool is_signed, int64_t* value);

// The first max_units units of text in narrow form (unit u is byte u). False, with out
// unchanged, when one of them is above U+00FF and so has no narrow form.
bool NarrowFromField(const char16_t* text, int max_units, NarrowStringClass& out);

// The first max_units units of text.
UnicodeStringClass CutField(const char16_t* text, int max_units);

}  // namespace ui
