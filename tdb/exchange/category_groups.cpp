// Grouping the string objects by category in one walk: the categories sorted by ID (then list
// position) are searched for each string's category, and a counting sort keeps slot order
// within each group.
#include "tdb/exchange/category_groups.h"

#include <algorithm>
#include <cstdlib>

#include "tdb/translate_db.h"

namespace {

struct IDAndIndex {
  int ID;
  int Index;
};

int CompareIDAndIndex(const void* a, const void* b) {
  const IDAndIndex& x = *static_cast<const IDAndIndex*>(a);
  const IDAndIndex& y = *static_cast<const IDAndIndex*>(b);
  if (x.ID != y.ID) return x.ID < y.ID ? -1 : 1;
  return x.Index < y.Index ? -1 : x.Index > y.Index;
}

// The list position of the first category with this ID, or none when there is no such one.
int FirstCategoryWith(const ArrayClass<IDAndIndex>& sorted, int categories, int id, int none) {
  if (categories == 0) return none;
  const IDAndIndex* end = &sorted[0] + categories;
  const IDAndIndex* at =
      std::partition_point(&sorted[0], end, [&](const IDAndIndex& c) { return c.ID < id; });
  return at != end && at->ID == id ? at->Index : none;
}

}  // namespace

bool CategoryGroupsClass::Build() {
  const int categories = TranslateDBClass::GetCategoryCount();
  const int slots = TranslateDBClass::GetObjectCount();
  ArrayClass<IDAndIndex> sorted;
  ArrayClass<int> group_of;
  if ((categories > 0 && !sorted.Resize(categories)) || (slots > 0 && !group_of.Resize(slots)) ||
      !start.Resize(categories + 3)) {
    return false;
  }
  for (int c = 0; c < categories; ++c) sorted[c] = IDAndIndex{TranslateDBClass::GetCategory(c)->ID, c};
  if (categories > 1)
    std::qsort(&sorted[0], static_cast<size_t>(categories), sizeof(IDAndIndex), CompareIDAndIndex);
  for (int c = 0; c < categories + 3; ++c) start[c] = 0;
  int count = 0;
  for (int i = 0; i < slots; ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    if (!s) continue;
    group_of[i] = FirstCategoryWith(sorted, categories, s->GetCategoryID(), categories);
    ++start[group_of[i] + 2];
    ++count;
  }
  if (count > 0 && !strings.Resize(count)) return false;
  // Group g is counted in start[g + 2]; then start[g + 1] is where it begins while the strings
  // are placed, and where it ends afterwards.
  for (int c = 2; c < categories + 3; ++c) start[c] += start[c - 1];
  for (int i = 0; i < slots; ++i) {
    if (TDBStringClass* s = TranslateDBClass::GetObject(i)) strings[start[group_of[i] + 1]++] = s;
  }
  return true;
}
