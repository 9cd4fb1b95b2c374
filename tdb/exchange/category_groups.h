// CategoryGroupsClass: the string objects grouped as the exports write them, found in one walk
// over the object table instead of one walk per category (which costs the number of categories
// times the table). Group c holds the strings of category c of the list in slot order; a
// category whose ID an earlier one has gets none (they are in the earlier one's group); the
// strings whose category ID no category has form one more group after the last category.
#pragma once

#include "common/array.h"
#include "tdb/tdb_string.h"

class CategoryGroupsClass {
 public:
  // Groups the database as it is now. False when memory runs out.
  bool Build();
  // Strings in group c, 0 <= c <= the category count.
  int Count(int c) const { return start[c + 1] - start[c]; }
  TDBStringClass* String(int c, int i) const { return strings[start[c] + i]; }

 private:
  ArrayClass<TDBStringClass*> strings;
  ArrayClass<int> start;
};
