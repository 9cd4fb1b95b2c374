// printf-style formatting into UTF-16 text. It follows the wide printf of the system the files
// come from: %s takes a wide (char16_t) string, %S and %hs a narrow one; %c takes a wide
// character, %C and %hc a narrow one. Numbers use the usual flags, width, precision and length
// modifiers (h, hh, l, ll, z, I64).
#pragma once

#include <cstdarg>

// Writes at most count - 1 units and a terminator (count > 0). Returns the length the whole
// output would have, as vsnprintf does.
int WideFormat(char16_t* out, int count, const char16_t* format, va_list args);
