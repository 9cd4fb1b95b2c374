// printf conversions in a text, as gettext's c-format check and the program's formatter see
// them: a '%', the flags - + # 0 ' (not a space: "50% off" holds no conversion), a width and a
// precision (digits or *), a length modifier (hh h l ll L q j z Z t I64 I32) and the conversion
// letter; "%%" is a conversion that takes no argument. A '%' before a space or at the end of the
// text is a plain percent sign.
#pragma once

// Whether text (UTF-16, length units) holds at least one conversion ("%%" included).
bool HasCFormat(const char16_t* text, int length);

// Whether the conversions of a and b take the same arguments in the same order: the same
// conversion letters (d and i alike; o u x X alike; e f g a and their capitals alike), length
// modifiers and widths or precisions taken from an argument (*). A '%' that begins no valid
// conversion (a position such as %1$d included, which the formatter does not know) counts as
// one that matches only another such.
bool SameCFormat(const char16_t* a, int a_length, const char16_t* b, int b_length);
