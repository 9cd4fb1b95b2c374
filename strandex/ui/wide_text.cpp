// Formatting and widening of texts for the screen.
#include "strandex/ui/wide_text.h"

#include <cstdarg>

#include "common/wide_format.h"
#include "strandex/exchange/utf8.h"

namespace ui {

UnicodeStringClass FormatWide(const char16_t* format, ...) {
  char16_t buffer[512];
  va_list args;
  va_start(args, format);
  WideFormat(buffer, 512, format, args);
  va_end(args);
  return UnicodeStringClass(buffer);
}

UnicodeStringClass WidenUtf8(const char* text) {
  UnicodeStringClass out;
  Utf8ToWide(text ? text : "", -1, out);
  return out;
}

}  // namespace ui
