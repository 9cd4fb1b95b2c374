// The string database: object table, symbolic-ID index, category list and the two numbers that
// travel with the file.
#include "tdb/translate_db.h"

#include <new>

#include "common/temp_string_pool.h"

DynamicArrayClass<TDBStringClass*> TranslateDBClass::Objects;
HashTableClass<TDBStringClass*> TranslateDBClass::IDStringIndex;
DynamicArrayClass<TDBStringClass*> TranslateDBClass::Unindexed;
int TranslateDBClass::UnindexedFrom = 0;
bool TranslateDBClass::GrowInProportion = false;
DynamicArrayClass<StringCategoryClass*> TranslateDBClass::Categories;
int32_t TranslateDBClass::Version = 0;
uint64_t TranslateDBClass::Revision = 0;
int32_t TranslateDBClass::CurrentLanguage = 0;
bool TranslateDBClass::TextsLoaded = true;
DynamicArrayClass<IDChangeRecord> TranslateDBClass::IDChanges;
int TranslateDBClass::FreeSlotHint = 0;
int32_t TranslateDBClass::HighestCategoryID = 0;
int TranslateDBClass::HighestCounted = 0;

// The database lives as long as the process; the records it still holds go with it. Defined
// after the members above, so it is destroyed before them.
struct TranslateDBClass::ExitCleanup {
  ~ExitCleanup() {
    for (int i = 0; i < Objects.Count(); ++i) delete Objects[i];
    for (int i = 0; i < Categories.Count(); ++i) delete Categories[i];
    Objects.Clear();
    Categories.Clear();
  }
};
TranslateDBClass::ExitCleanup TranslateDBClass::AtExit;

namespace {

// The index key of a symbolic ID: a copy with A to Z lowered, in a pooled buffer when short.
class IndexKey {
 public:
  explicit IndexKey(const char* text) {
    int n = 0;
    while (text[n]) ++n;
    if (n + 1 < TempStringPool::kNarrowCapacity) {
      key = NarrowStringClass(n + 1, true);
      if (key.Capacity() > n) buffer = key.Chars();
    }
    if (!buffer) buffer = heap = new (std::nothrow) char[n + 1];
    if (!buffer) return;
    for (int i = 0; i <= n; ++i) {
      char c = text[i];
      buffer[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  ~IndexKey() { delete[] heap; }
  IndexKey(const IndexKey&) = delete;
  IndexKey& operator=(const IndexKey&) = delete;

  // Null when memory ran out.
  const char* Text() const { return buffer; }

 private:
  NarrowStringClass key;
  char* buffer = nullptr;
  char* heap = nullptr;
};

}  // namespace

void TranslateDBClass::Initialize() {
  Objects.SetGrowthStep(1000);
  AddCategoryNamed("Default");
}

void TranslateDBClass::SetObjectGrowthStep(int step) { Objects.SetGrowthStep(step); }

void TranslateDBClass::SetObjectGrowthInProportion(bool in_proportion) { GrowInProportion = in_proportion; }

// Makes room for slot without changing the count: capacity grows in whole growth steps, in one
// allocation however far the slot lies.
bool TranslateDBClass::ReserveSlot(int slot) {
  if (slot < Objects.Length()) return true;
  int step = Objects.GrowthStep() > 0 ? Objects.GrowthStep() : 1;
  if (GrowInProportion && Objects.Length() > step) step = Objects.Length();
  int64_t needed = static_cast<int64_t>(slot) + 1;
  int64_t capacity = Objects.Length() + (needed - Objects.Length() + step - 1) / step * step;
  if (capacity > INT32_MAX) return false;
  return Objects.Resize(static_cast<int>(capacity));
}

bool TranslateDBClass::ReserveObjects(int count, int highestID) {
  int64_t filled = 0;
  for (int i = 0; i < Objects.Count(); ++i) filled += Objects[i] != nullptr;
  int64_t slots = Objects.Count();
  if (highestID >= kFirstID && highestID <= kLastID && highestID - kFirstID + 1 > slots) {
    slots = highestID - kFirstID + 1;
  }
  if (filled + count > slots) slots = filled + count;
  if (slots > kLastID - kFirstID + 1) slots = kLastID - kFirstID + 1;
  return slots <= Objects.Length() || Objects.Resize(static_cast<int>(slots));
}

bool TranslateDBClass::IndexInsert(TDBStringClass* obj) {
  IndexKey key(obj->GetIDString());
  return key.Text() && IDStringIndex.Insert(key.Text(), obj);
}

bool TranslateDBClass::CatchUpIndex() {
  while (UnindexedFrom < Unindexed.Count() && IndexInsert(Unindexed[UnindexedFrom])) ++UnindexedFrom;
  if (UnindexedFrom < Unindexed.Count()) return false;
  Unindexed.Clear();
  UnindexedFrom = 0;
  return true;
}

// Removes obj's own entry under idString; entries of other objects with an equal key stay, in
// their order.
void TranslateDBClass::IndexRemove(const char* idString, TDBStringClass* obj) {
  IndexKey key(idString);
  if (key.Text()) IDStringIndex.RemoveValue(key.Text(), obj);
}

void TranslateDBClass::RecordIDChange(int oldID, int newID) {
  AddDoubling(IDChanges, IDChangeRecord{oldID, newID});
}

bool TranslateDBClass::AddObject(TDBStringClass* obj) {
  if (!obj) return false;
  int id = obj->GetID();
  bool noID = id >= 0 && id < kFirstID;
  bool valid =
      id >= kFirstID && id <= kLastID && (id - kFirstID >= Objects.Count() || !Objects[id - kFirstID]);
  int newID = noID || !valid ? GetNextFreeID() : id;
  if (newID > kLastID) return false;
  int slot = newID - kFirstID;
  if (!ReserveSlot(slot) || !AddDoubling(Unindexed, obj)) return false;
  while (Objects.Count() <= slot) Objects.Add(nullptr);
  Objects[slot] = obj;
  NoteChange();
  if (newID != id) {
    obj->SetID(newID);
    if (!noID) RecordIDChange(id, newID);
  }
  return true;
}

bool TranslateDBClass::RemoveObject(int index) {
  if (index < 0 || index >= Objects.Count()) return false;
  NoteChange();
  if (TDBStringClass* obj = Objects[index]) {
    // An object still waiting for the index only leaves the list of those waiting, so that the
    // first removal after a load does not enter every other string first.
    int waiting = Unindexed.IndexOf(obj);
    if (waiting >= UnindexedFrom) {
      Unindexed.Delete(waiting);
    } else {
      IndexRemove(obj->GetIDString(), obj);
    }
    delete obj;
    Objects[index] = nullptr;
    if (index < FreeSlotHint) FreeSlotHint = index;
  }
  return true;
}

TDBStringClass* TranslateDBClass::GetObject(int index) {
  return index >= 0 && index < Objects.Count() ? Objects[index] : nullptr;
}

int TranslateDBClass::GetObjectCount() { return Objects.Count(); }

int TranslateDBClass::GetNextFreeID() {
  int count = Objects.Count();
  if (FreeSlotHint > count) FreeSlotHint = count;
  while (FreeSlotHint < count && Objects[FreeSlotHint]) ++FreeSlotHint;
  return kFirstID + FreeSlotHint;
}

void TranslateDBClass::ClearObjects() {
  NoteChange();
  for (int i = 0; i < Objects.Count(); ++i) delete Objects[i];
  Objects.DeleteAll();
  IDStringIndex.RemoveAll();
  Unindexed.Clear();
  UnindexedFrom = 0;
  FreeSlotHint = 0;
}

void TranslateDBClass::ReleaseObjectTable() {
  ClearObjects();
  Objects.Clear();
}

TDBStringClass* TranslateDBClass::FindFirstInCategory(int categoryID) {
  for (int i = 0; i < Objects.Count(); ++i) {
    if (Objects[i] && Objects[i]->GetCategoryID() == categoryID) return Objects[i];
  }
  return nullptr;
}

TDBStringClass* TranslateDBClass::FindNextInCategory(TDBStringClass* obj, int categoryID) {
  if (!obj) return nullptr;
  int start = obj->GetID() - kFirstID + 1;
  for (int i = start < 0 ? 0 : start; i < Objects.Count(); ++i) {
    if (Objects[i] && Objects[i]->GetCategoryID() == categoryID) return Objects[i];
  }
  return nullptr;
}

TDBStringClass* TranslateDBClass::FindObjectByIDString(const char* text) {
  if (!text) return nullptr;
  IndexKey key(text);
  if (!key.Text() || !CatchUpIndex()) return nullptr;
  TDBStringClass** found = IDStringIndex.Find(key.Text());
  return found ? *found : nullptr;
}

bool TranslateDBClass::ChangeObjectID(TDBStringClass* obj, int newID) {
  if (!obj) return false;
  int oldSlot = obj->GetID() - kFirstID;
  if (GetObject(oldSlot) != obj) return false;
  if (newID == obj->GetID()) return true;
  if (newID < kFirstID || newID > kLastID || GetObject(newID - kFirstID)) return false;
  int slot = newID - kFirstID;
  if (!ReserveSlot(slot)) return false;
  while (Objects.Count() <= slot) Objects.Add(nullptr);
  Objects[oldSlot] = nullptr;
  Objects[slot] = obj;
  NoteChange();
  if (oldSlot < FreeSlotHint) FreeSlotHint = oldSlot;
  obj->SetID(newID);
  return true;
}

bool TranslateDBClass::ChangeObjectIDString(TDBStringClass* obj, const char* text) {
  if (!obj || !text) return false;
  int slot = obj->GetID() - kFirstID;
  if (GetObject(slot) != obj) return obj->SetIDString(text);
  NarrowStringClass old;
  if (!CatchUpIndex() || !old.TryAssign(obj->GetIDString())) return false;
  if (!obj->SetIDString(text)) return false;
  if (!IndexInsert(obj)) {
    obj->SetIDString(old);
    return false;
  }
  IndexRemove(old, obj);
  return true;
}

bool TranslateDBClass::AddCategory(StringCategoryClass* cat) {
  if (!cat) return false;
  int32_t id = cat->ID;
  if (id == 0) {
    // Only the categories appended since the last time are looked at.
    for (; HighestCounted < Categories.Count(); ++HighestCounted) {
      if (Categories[HighestCounted]->ID > HighestCategoryID)
        HighestCategoryID = Categories[HighestCounted]->ID;
    }
    int highest = HighestCategoryID;
    // One past the highest; when that would not fit, the lowest free positive ID.
    id = highest + (highest < INT32_MAX);
    if (highest == INT32_MAX) {
      for (id = 1; FindCategoryByID(id); ++id) {
        if (id == INT32_MAX) return false;
      }
    }
  }
  if (!AppendCategoryAsIs(cat)) return false;
  cat->ID = id;
  return true;
}

bool TranslateDBClass::AddCategoryNamed(const char* name) {
  StringCategoryClass* cat = new (std::nothrow) StringCategoryClass;
  if (!cat) return false;
  if ((name && !cat->Name.TryAssign(name)) || !AddCategory(cat)) {
    delete cat;
    return false;
  }
  return true;
}

bool TranslateDBClass::RemoveCategory(int index) {
  if (index < 0 || index >= Categories.Count()) return false;
  StringCategoryClass* removed = Categories[index];
  Categories.Delete(index);
  ForgetHighestCategoryID();
  if (Categories.Count() > 0) {
    int oldID = removed->ID, newID = Categories[0]->ID;
    // Another category with the same ID still holds the strings.
    if (!FindCategoryByID(oldID)) {
      for (TDBStringClass* obj = FindFirstInCategory(oldID); obj; obj = FindNextInCategory(obj, oldID)) {
        obj->SetCategoryID(newID);
      }
    }
  }
  delete removed;
  return true;
}

StringCategoryClass* TranslateDBClass::GetCategory(int index) {
  return index >= 0 && index < Categories.Count() ? Categories[index] : nullptr;
}

int TranslateDBClass::GetCategoryCount() { return Categories.Count(); }

StringCategoryClass* TranslateDBClass::FindCategoryByID(int id) {
  for (int i = 0; i < Categories.Count(); ++i) {
    if (Categories[i]->ID == id) return Categories[i];
  }
  return nullptr;
}

void TranslateDBClass::ClearCategories() {
  for (int i = 0; i < Categories.Count(); ++i) delete Categories[i];
  Categories.DeleteAll();
  ForgetHighestCategoryID();
}

void TranslateDBClass::ForgetHighestCategoryID() {
  HighestCategoryID = 0;
  HighestCounted = 0;
}

void TranslateDBClass::ClearDatabase() {
  ClearObjects();
  ClearCategories();
  TextsLoaded = true;
}

// The list grows by 10 slots while it holds fewer than 1000 categories and doubles from then on,
// so that a table of hundreds of thousands is not moved over again at every step.
bool TranslateDBClass::AppendCategoryAsIs(StringCategoryClass* cat) {
  constexpr int kLarge = 1000;
  return Categories.Count() < kLarge ? Categories.Add(cat) : AddDoubling(Categories, cat);
}

int TranslateDBClass::GetIDChangeCount() { return IDChanges.Count(); }

IDChangeRecord TranslateDBClass::GetIDChange(int i) {
  return i >= 0 && i < IDChanges.Count() ? IDChanges[i] : IDChangeRecord{0, 0};
}

void TranslateDBClass::ClearIDChanges() { IDChanges.Clear(); }
