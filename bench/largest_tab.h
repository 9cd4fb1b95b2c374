// The tab of the editor's view whose category holds the most strings, found in one pass over the
// database (a walk of each category alone would cost categories x strings).
#pragma once

#include <unordered_map>

#include "tdb/translate_db.h"
#include "strandex/ui/string_list.h"

// The first of equals; rows, when given, receives its number of strings.
inline int LargestTab(const ui::StringListClass& view, int* rows = nullptr) {
  std::unordered_map<int, int> counts;
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    if (TDBStringClass* s = TranslateDBClass::GetObject(i)) ++counts[s->GetCategoryID()];
  }
  int largest = 0, largest_rows = -1;
  for (int tab = 0; tab < view.TabCount(); ++tab) {
    int id = 0;
    view.TabCategoryID(tab, &id);
    const auto found = counts.find(id);
    const int count = found == counts.end() ? 0 : found->second;
    if (count > largest_rows) largest = tab, largest_rows = count;
  }
  if (rows) *rows = largest_rows;
  return largest;
}
