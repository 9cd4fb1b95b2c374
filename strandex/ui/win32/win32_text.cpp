// Window texts.
#include "strandex/ui/win32/win32_text.h"

namespace ui {

UnicodeStringClass WindowText(HWND window) {
  UnicodeStringClass text;
  int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return text;
  text.GrowRaw(length + 1);
  int copied = ::GetWindowTextW(window, W(text.Chars()), length + 1);
  text.Chars()[copied > 0 ? copied : 0] = 0;
  return text;
}

UnicodeStringClass WithAmpersandsDoubled(const char16_t* text) {
  UnicodeStringClass doubled;
  for (; *text; ++text) {
    if (*text == u'&') doubled.Append(u'&');
    doubled.Append(*text);
  }
  return doubled;
}

void CopyCellText(const char16_t* text, wchar_t* buffer, int capacity) {
  if (!buffer || capacity <= 0) return;
  int i = 0;
  for (; i < capacity - 1 && text[i]; ++i) buffer[i] = static_cast<wchar_t>(text[i]);
  buffer[i] = 0;
}

}  // namespace ui
