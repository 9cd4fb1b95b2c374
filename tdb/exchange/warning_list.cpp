// Warnings of the exchange readers.
#include "tdb/exchange/warning_list.h"

#include <cstdarg>
#include <cstdio>

namespace {

// Warnings listed one by one; the rest are counted in one closing line.
constexpr int kMaxWarnings = 100;

}  // namespace

bool FormatAtLine(NarrowStringClass& out, const char* name, int line, const char* format, va_list args) {
  char text[1200];
  int n = snprintf(text, sizeof text, "%s:%d: ", name, line);
  if (n < 0 || static_cast<size_t>(n) >= sizeof text) n = 0;
  vsnprintf(text + n, sizeof text - n, format, args);
  return out.TryAssign(text);
}

WarningListClass::WarningListClass(const char* name_in, DynamicArrayClass<NarrowStringClass>* list_in)
    : name(name_in), list(list_in) {}

void WarningListClass::Add(int line, const char* format, ...) {
  if (!list) return;
  if (list->Count() >= kMaxWarnings) {
    ++suppressed;
    return;
  }
  NarrowStringClass message;
  va_list args;
  va_start(args, format);
  bool ok = FormatAtLine(message, name, line, format, args);
  va_end(args);
  if (ok) list->Add(message);
}

void WarningListClass::Finish() {
  if (!list || suppressed == 0) return;
  char text[1200];
  snprintf(text, sizeof text, "%s: %d more warnings not listed", name, suppressed);
  NarrowStringClass message;
  if (message.TryAssign(text)) list->Add(message);
  suppressed = 0;
}
