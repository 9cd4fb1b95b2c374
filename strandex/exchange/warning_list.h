// Warnings of the exchange readers: "name:line: text" lines added to a caller's list. The first
// hundred are listed one by one; the rest are counted and summed up by Finish in one line.
#pragma once

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
