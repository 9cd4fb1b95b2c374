// UTF-16 texts between the editor (char16_t) and the Win32 API (wchar_t, 16 bits on Windows), and
// the text of a window or control.
#pragma once

#include <windows.h>

#include "common/string_class.h"

namespace ui {

inline const wchar_t* W(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* W(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
inline const char16_t* U(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

// The whole text of window, however long.
UnicodeStringClass WindowText(HWND window);

// text with every '&' doubled, for controls that read a single '&' as the mark of a mnemonic.
UnicodeStringClass WithAmpersandsDoubled(const char16_t* text);

// Copies text into a buffer of capacity units the way a list view asks for cell texts: cut to
// capacity - 1 units and terminated.
void CopyCellText(const char16_t* text, wchar_t* buffer, int capacity);

}  // namespace ui
