// Free functions on plain zero-terminated character arrays: length and comparison of UTF-16
// text, narrow/wide conversion, duplication, trimming and case-insensitive search. Arrays they
// return are allocated with new[] and belong to the caller (free them with delete[]).
//
// Conversions follow the C runtime's default locale: byte b is the character U+00bb, and a
// UTF-16 unit above U+00FF has no narrow form.
#pragma once

#include <cstddef>

// Units before the terminator; 0 for null.
int WideLength(const char16_t* text);
// Unit-by-unit comparison: -1, 0 or +1.
int WideCompare(const char16_t* a, const char16_t* b);
// Number of bytes the wide text needs in narrow form, or -1 when a unit has no narrow form.
int NarrowLengthOfWide(const char16_t* text);

char16_t* DupWideFromNarrow(const char* text);
char* DupNarrowFromWide(const char16_t* text);
char* DupNarrow(const char* text);
char16_t* DupWide(const char16_t* text);

char* TrimControl(char* text);
char* TrimTrailingSpace(char* text);

const char* FindNoCase(const char* haystack, const char* needle);
const char16_t* FindNoCase(const char16_t* haystack, const char16_t* needle);

// Case-insensitive comparison of at most n characters, folding only a-z (the C locale).
int CompareNoCase(const char* a, const char* b, size_t n);
int CompareNoCase(const char16_t* a, const char16_t* b, size_t n);
