// Messages of the exchange readers that point at a line: "name:line: text". WarningListClass adds
// them to a caller's list; the first hundred are listed one by one, the rest are counted and
// summed up by Finish in one line.
#pragma once

#include <cstdarg>

#include "common/array.h"
#include "common/string_class.h"

class WarningListClass {
 public:
  // list may be null: nothing is kept then.
  WarningListClass(const char* name, DynamicArrayClass<NarrowStringClass>* list);

  void Add(int line, const char* format, ...) __attribute__((format(printf, 3, 4)));
  // Adds "name: N more warnings not listed" for the warnings past the limit.
  void Finish();

 private:
  const char* name;
  DynamicArrayClass<NarrowStringClass>* list;
  int suppressed = 0;
};

// "name:line: " followed by the formatted text, into out. False when memory runs out.
bool FormatAtLine(NarrowStringClass& out, const char* name, int line, const char* format, va_list args);
