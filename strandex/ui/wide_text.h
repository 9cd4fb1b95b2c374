// Building UTF-16 texts for the screen: printf-style formatting (wide %s, narrow %S, as the
// toolset's wide formatter does) into at most 511 characters, and UTF-8 paths and messages made
// wide.
#pragma once

#include "common/string_class.h"

namespace ui {

UnicodeStringClass FormatWide(const char16_t* format, ...);
// UTF-8 bytes (a path, a "path: reason" text) as UTF-16.
UnicodeStringClass WidenUtf8(const char* text);

}  // namespace ui
