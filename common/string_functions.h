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

// The first place where needle stands in haystack, A to Z compared without regard to case
// (the C locale); null when there is none, and always for an empty haystack.
const char* FindNoCase(const char* haystack, const char* needle);
const char16_t* FindNoCase(const char16_t* haystack, const char16_t* needle);
// FindNoCase over a text that need not end in a 0: the text is its first length units, or
// those before its first 0 unit when one comes earlier. The needle has n units and no 0 unit.
// Narrow units are bytes (byte b is the character U+00bb); ContainsNoCaseLE reads UTF-16LE
// bytes at any alignment (2 * length of them), as they stand in a file.
bool ContainsNoCase(const char* text, size_t length, const char* needle, size_t n);
bool ContainsNoCase(const char* text, size_t length, const char16_t* needle, size_t n);
bool ContainsNoCase(const char16_t* text, size_t length, const char16_t* needle, size_t n);
bool ContainsNoCaseLE(const unsigned char* text, size_t length, const char16_t* needle, size_t n);

// Case-insensitive comparison of at most n characters, folding only a-z (the C locale).
int CompareNoCase(const char* a, const char* b, size_t n);
int CompareNoCase(const char16_t* a, const char16_t* b, size_t n);
