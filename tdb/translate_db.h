// TranslateDBClass: the one string database of the process. A static class owning the table of
// string objects (slot i holds the object whose ID is 1000 + i, or null), an index of the same
// objects by lower-cased symbolic ID, the list of categories in tab order, the database version
// and the current language. The database deletes every record it holds on remove, clear and
// load; a record handed to AddObject or AddCategory belongs to it from then on (unless the call
// returns false, when the caller keeps it).
//
// Every object keeps its place: an object whose ID is already taken (or is negative, or is
// beyond kLastID) receives the first free ID instead, and each such change is recorded for the
// caller to report (GetIDChange). IDs from 0 to 999 mean "no ID yet" and are assigned silently.
#pragma once

#include <cstdint>

#include "common/array.h"
#include "common/hash_table.h"
#include "tdb/string_category.h"
#include "tdb/tdb_string.h"

class SaveSectionClass;

struct IDChangeRecord {
  int OldID;
  int NewID;
};

class TranslateDBClass {
 public:
  static constexpr int kFirstID = 1000;
  // The highest numeric ID the table takes.
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  static constexpr int kLastID = 9999999;
#else
  // Fuzzing builds (the fuzz preset) take IDs up to 99999 only: every ID is a slot, and a fuzzer
  // that filled millions of slots for one input would try a few dozen inputs a second.
  static constexpr int kLastID = 99999;
#endif

  // Start-up: the object table grows by 1000 slots, and the category "Default" (ID 1) is added.
  static void Initialize();

  // Objects. index is always ID - 1000.
  // False for null, or when memory runs out (the object then still belongs to the caller).
  static bool AddObject(TDBStringClass* obj);
  static bool RemoveObject(int index);
  static TDBStringClass* GetObject(int index);
  static int GetObjectCount();
  static int GetNextFreeID();
  static void ClearObjects();
  // ClearObjects, and the table's storage is freed too (ClearObjects keeps it for the next load).
  static void ReleaseObjectTable();
  static TDBStringClass* FindFirstInCategory(int categoryID);
  static TDBStringClass* FindNextInCategory(TDBStringClass* obj, int categoryID);
  // The first object whose symbolic ID equals text ignoring the case of A to Z; null when there
  // is none or memory runs out.
  static TDBStringClass* FindObjectByIDString(const char* text);
  // Moves obj (which must be in the table) to the slot of newID. False, with nothing changed,
  // when obj is not in the table, newID is below 1000 or above kLastID, another object has it,
  // or memory runs out. Changing to its own ID is true.
  static bool ChangeObjectID(TDBStringClass* obj, int newID);
  // Gives obj a new symbolic ID and updates the index when obj is in the table. False, with
  // nothing changed, for a null text or when memory runs out.
  static bool ChangeObjectIDString(TDBStringClass* obj, const char* text);
  static void SetObjectGrowthStep(int step);
  // With in_proportion, a table larger than the growth step grows by its own length instead
  // (doubling), so that a million strings added one by one copy the table a few times rather
  // than once per step. Off unless set; Initialize leaves it as it is.
  static void SetObjectGrowthInProportion(bool in_proportion);
  // Gives the object table, in one allocation of exactly that size, the slots that adding
  // count objects will need, where highestID is the highest of their IDs from kFirstID to
  // kLastID (any other value when none is): each
  // object either keeps its ID or takes the lowest free slot, which never lies beyond the
  // objects in the table. A loader that knows its strings calls it so that the table does not
  // grow step by step. Nothing when the table has room already; false when memory runs out,
  // with the table unchanged.
  static bool ReserveObjects(int count, int highestID);

  // Categories.
  // False for null, or when memory runs out (the record then still belongs to the caller).
  static bool AddCategory(StringCategoryClass* cat);
  // False when memory runs out.
  static bool AddCategoryNamed(const char* name);
  // Removes the category at index; its string objects move to the first remaining category
  // (they keep their category ID when none remains).
  static bool RemoveCategory(int index);
  static StringCategoryClass* GetCategory(int index);
  static int GetCategoryCount();
  // The first category with this ID, or null.
  static StringCategoryClass* FindCategoryByID(int id);
  static void ClearCategories();
  // Empties the database; it has its texts again.
  static void ClearDatabase();

  // Loading (the database section). Whether the strings hold their texts: false after a load
  // that passed over them (LoadedParts::kWithoutTexts), until ClearDatabase. Such a database
  // cannot be saved, which would lose the texts.
  static bool HasTexts() { return TextsLoaded; }
  static void SetTextsLoaded(bool loaded) { TextsLoaded = loaded; }
  // Appends a category as it is, without giving it an ID. False when memory runs out.
  static bool AppendCategoryAsIs(StringCategoryClass* cat);

  // Numbers that travel with the file.
  // Counts the changes of the database: of the set of strings or categories and of any
  // string's fields (the string setters count theirs). What is built from the strings (the
  // editor's search index) stays valid while the count stays the same.
  static uint64_t GetRevision() { return Revision; }
  static void NoteChange() { ++Revision; }
  static int GetVersion() { return Version; }
  static int GetCurrentLanguage() { return CurrentLanguage; }
  static void SetVersion(int version) { Version = version; }
  static void SetCurrentLanguage(int language) { CurrentLanguage = language; }

  // ID changes made by AddObject since the last ClearIDChanges, in order.
  static int GetIDChangeCount();
  static IDChangeRecord GetIDChange(int i);
  static void ClearIDChanges();

  // The save section through which the database is saved and loaded (chunk 0x90000).
  static SaveSectionClass& Section();

 private:
  friend struct TranslateDBPeer;  // what tests look at inside (tdb/testing)

  static bool ReserveSlot(int slot);
  static bool IndexInsert(TDBStringClass* obj);
  // Enters the objects added since the index was last used, in the order they were added, so
  // that the index holds exactly the objects in the table. False when memory runs out (those not
  // entered wait for the next use).
  static bool CatchUpIndex();
  static void IndexRemove(const char* idString, TDBStringClass* obj);
  static void RecordIDChange(int oldID, int newID);

  static DynamicArrayClass<TDBStringClass*> Objects;
  static HashTableClass<TDBStringClass*> IDStringIndex;
  // Objects added but not yet in the index, from UnindexedFrom on: a command that never looks up
  // a symbolic ID (the C header of a 100,000-string database) never pays for the index.
  static DynamicArrayClass<TDBStringClass*> Unindexed;
  static int UnindexedFrom;
  static bool GrowInProportion;
  static DynamicArrayClass<StringCategoryClass*> Categories;
  static int32_t Version;
  static uint64_t Revision;
  static int32_t CurrentLanguage;
  static bool TextsLoaded;
  static DynamicArrayClass<IDChangeRecord> IDChanges;
  // Every slot below it holds an object.
  static int FreeSlotHint;
  // The highest category ID (0 when none is positive) among the first HighestCounted
  // categories, so that numbering many categories does not walk the list each time. A
  // category's ID does not change while it is in the list.
  static int32_t HighestCategoryID;
  static int HighestCounted;
  static void ForgetHighestCategoryID();
  struct ExitCleanup;
  static ExitCleanup AtExit;
};
