// Warnings of the exchange readers.
#include "strandex/exchange/warning_list.h"

#include <cstdarg>
#include <cstdio>

namespace {

// Warnings listed one by one; the rest are counted in one closing line.
constexpr int kMaxWarnings = 100;

void Keep(DynamicArrayClass<NarrowStringClass>* list, const char* text) {
  NarrowStringClass message;
  if (message.TryAssign(text)) list->Add(message);
}

}  // namespace

WarningListClass::WarningListClass(const char* name_in, DynamicArrayClass<NarrowStringClass>* list_in)
    : name(name_in), list(list_in) {}

void WarningListClass::Add(int line, const char* format, ...) {
  if (!list) return;
  if (list->Count() >= kMaxWarnings) {
    ++suppressed;
    return;
  }
  char text[1200];
  int n = snprintf(text, sizeof text, "%s:%d: ", name, line);
  if (n < 0 || static_cast<size_t>(n) >= sizeof text) n = 0;
  va_list args;
  va_start(args, format);
  vsnprintf(text + n, sizeof text - n, format, args);
  va_end(args);
  Keep(list, text);
}

void WarningListClass::Finish() {
  if (!list || suppressed == 0) return;
  char text[1200];
  snprintf(text, sizeof text, "%s: %d more warnings not listed", name, suppressed);
  Keep(list, text);
  suppressed = 0;
}
