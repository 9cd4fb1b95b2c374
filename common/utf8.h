// Conversion between the UTF-16 text of the string database and UTF-8 bytes, used where text
// leaves or enters the toolset as UTF-8 (the text table, PO files, the JSON output of the tools,
// paths and messages shown by the editor).
#pragma once

#include <cstddef>

#include "common/string_class.h"

// UTF-16 to UTF-8. A surrogate without its partner becomes U+FFFD. False only when memory runs
// out (out is then unchanged).
bool WideToUtf8(const char16_t* text, NarrowStringClass& out);

// length bytes of UTF-8 (-1: up to the first zero byte) to UTF-16. Every invalid or truncated
// sequence, overlong form, encoded surrogate or value above U+10FFFF becomes U+FFFD (one per
// maximal ill-formed subpart). A zero byte inside the counted bytes ends the text. False only
// when memory runs out (out is then unchanged).
bool Utf8ToWide(const char* text, int length, UnicodeStringClass& out);

// A NUL-terminated UTF-8 text (a path, a "path: reason" message) as UTF-16; null reads as empty.
// Empty when memory runs out.
UnicodeStringClass WideFromUtf8(const char* text);

// The building blocks of the two conversions, for callers that manage their own buffers.

// Bytes of the UTF-8 form of count units of text (without a terminator).
size_t Utf8LengthOfWide(const char16_t* text, size_t count);
// Writes the UTF-8 form of count units of text to out, which has room for
// Utf8LengthOfWide(text, count) bytes; returns the end of what was written.
char* EncodeUtf8(const char16_t* text, size_t count, char* out);
// Writes count narrow bytes to out as UTF-8, each byte b as the character U+00bb (the widening
// of the C runtime's default locale); out has room for 2 * count bytes. Returns the end.
char* EncodeNarrowAsUtf8(const char* text, size_t count, char* out);
// Decodes count bytes of UTF-8 (zero bytes included) into out, which has room for count units
// (UTF-8 never needs more units than bytes); returns the number of units written. invalid (when
// given) is set when any U+FFFD replaced an ill-formed sequence.
size_t DecodeUtf8(const char* text, size_t count, char16_t* out, bool* invalid);
