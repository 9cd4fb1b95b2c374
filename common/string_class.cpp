// Formatting for the two string classes: a 512-character work area, output cut to 511.
#include "common/string_class.h"

#include <cstdio>

#include "common/wide_format.h"

namespace {
constexpr int kWorkArea = 512;
}

template <>
int BasicStringClass<char>::FormatArgs(const char* format, va_list args) {
  if (!format) return 0;
  char work[kWorkArea];
  int r = vsnprintf(work, kWorkArea, format, args);
  if (r < 0) work[0] = 0;
  Assign(work);
  return r >= kWorkArea ? -1 : r;
}

template <>
int BasicStringClass<char16_t>::FormatArgs(const char16_t* format, va_list args) {
  if (!format) return 0;
  char16_t work[kWorkArea];
  int r = WideFormat(work, kWorkArea, format, args);
  Assign(work);
  return r >= kWorkArea ? -1 : r;
}
