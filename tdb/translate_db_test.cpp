// Tests of the string database: IDs and slots, the symbolic-ID index, categories, the
// consistency operations and running out of memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "common/allocore.h"
#include "tdb/testing/database_fixture.h"

namespace {

using TranslateDB = DatabaseTest;

TEST_F(TranslateDB, NextFreeIDSlotsAndGrowth) {
  EXPECT_EQ(TranslateDBClass::GetNextFreeID(), 1000);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(TranslateDBClass::AddObject(NewString(0, "S")));
  EXPECT_EQ(TranslateDBClass::GetNextFreeID(), 1005);
  ASSERT_TRUE(TranslateDBClass::RemoveObject(2));
  EXPECT_EQ(TranslateDBClass::GetObjectCount(), 5);
  EXPECT_EQ(TranslateDBClass::GetObject(2), nullptr);
  EXPECT_EQ(TranslateDBClass::GetNextFreeID(), 1002);
  EXPECT_TRUE(TranslateDBClass::RemoveObject(2));   // an empty slot inside the table
  EXPECT_FALSE(TranslateDBClass::RemoveObject(5));  // index equal to the count
  EXPECT_FALSE(TranslateDBClass::RemoveObject(-1));
  TDBStringClass* s = NewString(0, "T");
  ASSERT_TRUE(TranslateDBClass::AddObject(s));
  EXPECT_EQ(s->GetID(), 1002);
  EXPECT_EQ(TranslateDBClass::GetObject(-1), nullptr);
  EXPECT_EQ(TranslateDBClass::GetObject(5), nullptr);
  EXPECT_FALSE(TranslateDBClass::AddObject(nullptr));
  // A far ID grows the table with empty slots.
  TranslateDBClass::ClearObjects();
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(5000, "FAR")));
  EXPECT_EQ(TranslateDBClass::GetObjectCount(), 4001);
  for (int i = 0; i < 4000; ++i) ASSERT_EQ(TranslateDBClass::GetObject(i), nullptr);
  EXPECT_EQ(TranslateDBClass::GetNextFreeID(), 1000);
}

// Reserving for the objects a loader holds sizes the table once, exactly: the highest usable
// ID, or one slot per object when that is more; renumbered objects fit in it too.
TEST_F(TranslateDB, ReserveObjectsFitsExactly) {
  TranslateDBClass::ReleaseObjectTable();
  ASSERT_TRUE(TranslateDBClass::ReserveObjects(3, 5000));
  EXPECT_EQ(TranslateDBPeer::ObjectCapacity(), 4001);
  for (int id : {5000, 5000, 0}) ASSERT_TRUE(TranslateDBClass::AddObject(NewString(id, "S")));
  EXPECT_EQ(TranslateDBClass::GetObjectCount(), 4001);
  EXPECT_EQ(TranslateDBPeer::ObjectCapacity(), 4001);
  // Added one by one, the table grows by its step again; in proportion, by its own length.
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(5001, "T")));
  EXPECT_EQ(TranslateDBPeer::ObjectCapacity(), 5001);
  TranslateDBClass::SetObjectGrowthInProportion(true);
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(6001, "V")));
  EXPECT_EQ(TranslateDBPeer::ObjectCapacity(), 10002);
  TranslateDBClass::SetObjectGrowthInProportion(false);

  TranslateDBClass::ReleaseObjectTable();
  ASSERT_TRUE(TranslateDBClass::ReserveObjects(5, 1002));
  EXPECT_EQ(TranslateDBPeer::ObjectCapacity(), 5);
  TranslateDBClass::ReleaseObjectTable();
  ASSERT_TRUE(TranslateDBClass::ReserveObjects(2, TranslateDBClass::kLastID + 1));
  EXPECT_EQ(TranslateDBPeer::ObjectCapacity(), 2);
  // Objects already in the table count; the table never shrinks.
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(1001, "U")));
  ASSERT_TRUE(TranslateDBClass::ReserveObjects(4, 0));
  EXPECT_EQ(TranslateDBPeer::ObjectCapacity(), 5);
  ASSERT_TRUE(TranslateDBClass::ReserveObjects(1, 1001));
  EXPECT_EQ(TranslateDBPeer::ObjectCapacity(), 5);
}

TEST_F(TranslateDB, DuplicateIDKeepsBothObjects) {
  TDBStringClass* first = NewString(1001, "FIRST");
  TDBStringClass* second = NewString(1001, "SECOND");
  ASSERT_TRUE(TranslateDBClass::AddObject(first));
  ASSERT_TRUE(TranslateDBClass::AddObject(second));
  EXPECT_EQ(TranslateDBClass::GetObject(1), first);
  EXPECT_EQ(first->GetID(), 1001);
  EXPECT_EQ(second->GetID(), 1000);
  EXPECT_EQ(TranslateDBClass::GetObject(0), second);
  ASSERT_EQ(TranslateDBClass::GetIDChangeCount(), 1);
  EXPECT_EQ(TranslateDBClass::GetIDChange(0).OldID, 1001);
  EXPECT_EQ(TranslateDBClass::GetIDChange(0).NewID, 1000);

  // Negative and too large IDs are changed and reported; 0 to 999 are assigned silently.
  TDBStringClass* negative = NewString(-5, "NEG");
  TDBStringClass* huge = NewString(TranslateDBClass::kLastID + 1, "HUGE");
  ASSERT_TRUE(TranslateDBClass::AddObject(negative));
  ASSERT_TRUE(TranslateDBClass::AddObject(huge));
  ASSERT_TRUE(TranslateDBClass::AddObject(NewString(999, "LOW")));
  EXPECT_EQ(negative->GetID(), 1002);
  EXPECT_EQ(huge->GetID(), 1003);
  EXPECT_EQ(TranslateDBClass::GetIDChangeCount(), 3);
  EXPECT_EQ(TranslateDBClass::GetIDChange(2).OldID, TranslateDBClass::kLastID + 1);
  TranslateDBClass::ClearIDChanges();
  EXPECT_EQ(TranslateDBClass::GetIDChangeCount(), 0);
}

TEST_F(TranslateDB, FindInCategoryWalksSlotOrder) {
  TranslateDBClass::AddObject(NewString(1003, "C", u"", 2));
  TranslateDBClass::AddObject(NewString(1000, "A", u"", 2));
  TranslateDBClass::AddObject(NewString(1001, "B", u"", 1));
  TranslateDBClass::AddObject(NewString(1005, "D", u"", 2));
  TranslateDBClass::RemoveObject(3);
  TDBStringClass* s = TranslateDBClass::FindFirstInCategory(2);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetID(), 1000);
  s = TranslateDBClass::FindNextInCategory(s, 2);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetID(), 1005);
  EXPECT_EQ(TranslateDBClass::FindNextInCategory(s, 2), nullptr);
  EXPECT_EQ(TranslateDBClass::FindFirstInCategory(9), nullptr);
}

TEST_F(TranslateDB, IndexFollowsAddRemoveAndChanges) {
  TDBStringClass* a = NewString(1000, "IDS_Same");
  TDBStringClass* b = NewString(1001, "ids_same");
  TranslateDBClass::AddObject(a);
  TranslateDBClass::AddObject(b);
  EXPECT_NE(TranslateDBClass::FindObjectByIDString("IDS_SAME"), nullptr);
  // Removing b leaves a's entry, whichever of the equal keys comes first.
  TranslateDBClass::RemoveObject(1);
  EXPECT_EQ(TranslateDBClass::FindObjectByIDString("ids_same"), a);
  ASSERT_TRUE(TranslateDBClass::ChangeObjectIDString(a, "IDS_Other"));
  EXPECT_EQ(a->GetIDString(), "IDS_Other");
  EXPECT_EQ(TranslateDBClass::FindObjectByIDString("ids_same"), nullptr);
  EXPECT_EQ(TranslateDBClass::FindObjectByIDString("IDS_OTHER"), a);
  EXPECT_FALSE(TranslateDBClass::ChangeObjectIDString(a, nullptr));
  TranslateDBClass::ClearObjects();
  EXPECT_EQ(TranslateDBClass::FindObjectByIDString("ids_other"), nullptr);
}

// Hundreds of strings share one symbolic ID (every new string in the editor has the empty one).
// After random removals the index must hold exactly the live strings.
TEST_F(TranslateDB, IndexKeepsEveryEqualKeyThroughRandomRemovals) {
  std::vector<TDBStringClass*> live;
  for (int i = 0; i < 300; ++i) {
    live.push_back(NewString(0, ""));
    ASSERT_TRUE(TranslateDBClass::AddObject(live.back()));
  }
  std::mt19937 random(9);
  while (live.size() > 100) {
    size_t victim = random() % live.size();
    ASSERT_TRUE(TranslateDBClass::RemoveObject(live[victim]->GetID() - TranslateDBClass::kFirstID));
    live.erase(live.begin() + static_cast<std::ptrdiff_t>(victim));
    TDBStringClass* found = TranslateDBClass::FindObjectByIDString("");
    ASSERT_NE(std::find(live.begin(), live.end(), found), live.end());
  }
  // Renaming the first entry drains the index one entry at a time.
  std::vector<TDBStringClass*> drained;
  while (TDBStringClass* s = TranslateDBClass::FindObjectByIDString("")) {
    ASSERT_NE(std::find(live.begin(), live.end(), s), live.end()) << "a removed string is still indexed";
    ASSERT_TRUE(TranslateDBClass::ChangeObjectIDString(s, "DRAINED"));
    drained.push_back(s);
  }
  std::sort(drained.begin(), drained.end());
  std::sort(live.begin(), live.end());
  EXPECT_EQ(drained, live);
}

TEST_F(TranslateDB, ChangeObjectIDMovesTheObject) {
  TDBStringClass* a = NewString(1000, "A");
  TDBStringClass* b = NewString(1001, "B");
  TranslateDBClass::AddObject(a);
  TranslateDBClass::AddObject(b);
  EXPECT_FALSE(TranslateDBClass::ChangeObjectID(a, 1001));  // taken
  EXPECT_FALSE(TranslateDBClass::ChangeObjectID(a, 999));
  EXPECT_FALSE(TranslateDBClass::ChangeObjectID(a, TranslateDBClass::kLastID + 1));
  TDBStringClass outside;
  outside.SetID(1000);
  EXPECT_FALSE(TranslateDBClass::ChangeObjectID(&outside, 1500));
  EXPECT_TRUE(TranslateDBClass::ChangeObjectID(a, 1000));
  ASSERT_TRUE(TranslateDBClass::ChangeObjectID(a, 2500));
  EXPECT_EQ(a->GetID(), 2500);
  EXPECT_EQ(TranslateDBClass::GetObject(1500), a);
  EXPECT_EQ(TranslateDBClass::GetObject(0), nullptr);
  EXPECT_EQ(TranslateDBClass::GetObjectCount(), 1501);
  EXPECT_EQ(TranslateDBClass::GetNextFreeID(), 1000);
  EXPECT_EQ(TranslateDBClass::FindObjectByIDString("a"), a);
}

TEST_F(TranslateDB, CategoryIDs) {
  StringCategoryClass* one = new StringCategoryClass;
  ASSERT_TRUE(TranslateDBClass::AddCategory(one));
  EXPECT_EQ(one->ID, 1);
  StringCategoryClass* seven = new StringCategoryClass;
  seven->ID = 7;
  TranslateDBClass::AddCategory(seven);
  TranslateDBClass::AddCategoryNamed("Menus");
  EXPECT_EQ(TranslateDBClass::GetCategory(2)->ID, 8);
  EXPECT_EQ(TranslateDBClass::GetCategory(2)->Name, "Menus");
  StringCategoryClass* again = new StringCategoryClass;
  again->ID = 7;
  TranslateDBClass::AddCategory(again);
  EXPECT_EQ(again->ID, 7);
  EXPECT_EQ(TranslateDBClass::GetCategoryCount(), 4);
  EXPECT_EQ(TranslateDBClass::GetCategory(4), nullptr);
  EXPECT_FALSE(TranslateDBClass::AddCategory(nullptr));
  TranslateDBClass::AddCategoryNamed(nullptr);
  EXPECT_TRUE(TranslateDBClass::GetCategory(4)->Name.IsEmpty());
  // Past the largest ID a new category takes the lowest free one.
  StringCategoryClass* largest = new StringCategoryClass;
  largest->ID = INT32_MAX;
  TranslateDBClass::AddCategory(largest);
  TranslateDBClass::AddCategoryNamed("After");
  EXPECT_EQ(TranslateDBClass::GetCategory(6)->ID, 2);
  // Once the largest is removed, or the list cleared, the rest count again.
  ASSERT_TRUE(TranslateDBClass::RemoveCategory(5));
  TranslateDBClass::AddCategoryNamed("Next");
  EXPECT_EQ(TranslateDBClass::GetCategory(6)->ID, 10);
  TranslateDBClass::ClearCategories();
  TranslateDBClass::AddCategoryNamed("First");
  EXPECT_EQ(TranslateDBClass::GetCategory(0)->ID, 1);
}

TEST_F(TranslateDB, RemoveCategoryMovesItsStringsAndClearKeepsTheVersion) {
  TranslateDBClass::AddCategoryNamed("Default");
  TranslateDBClass::AddCategoryNamed("Menus");
  TranslateDBClass::AddCategoryNamed("Dialogs");
  TranslateDBClass::AddObject(NewString(1000, "A", u"", 2));
  TranslateDBClass::AddObject(NewString(1001, "B", u"", 3));
  TranslateDBClass::AddObject(NewString(1002, "C", u"", 2));
  ASSERT_TRUE(TranslateDBClass::RemoveCategory(1));
  EXPECT_EQ(TranslateDBClass::GetCategoryCount(), 2);
  EXPECT_EQ(TranslateDBClass::GetCategory(1)->Name, "Dialogs");
  EXPECT_EQ(TranslateDBClass::GetObject(0)->GetCategoryID(), 1);
  EXPECT_EQ(TranslateDBClass::GetObject(2)->GetCategoryID(), 1);
  EXPECT_EQ(TranslateDBClass::GetObject(1)->GetCategoryID(), 3);
  // The first category removed: its strings go to the new first one.
  ASSERT_TRUE(TranslateDBClass::RemoveCategory(0));
  EXPECT_EQ(TranslateDBClass::GetObject(0)->GetCategoryID(), 3);
  EXPECT_FALSE(TranslateDBClass::RemoveCategory(1));
  // The last category: nothing to move to, the strings keep their category ID.
  ASSERT_TRUE(TranslateDBClass::RemoveCategory(0));
  EXPECT_EQ(TranslateDBClass::GetObject(0)->GetCategoryID(), 3);
  // Clearing the database keeps its numbers.
  TranslateDBClass::SetVersion(4);
  TranslateDBClass::Initialize();
  ASSERT_GT(TranslateDBClass::GetCategoryCount(), 0);
  TranslateDBClass::ClearDatabase();
  EXPECT_EQ(TranslateDBClass::GetCategoryCount(), 0);
  EXPECT_EQ(TranslateDBClass::GetObjectCount(), 0);
  EXPECT_EQ(TranslateDBClass::GetVersion(), 4);
}

TEST_F(TranslateDB, OutOfMemoryIsReported) {
  TDBStringClass* s = NewString(0, "IDS_MEMORY");
  for (int n = 1;; ++n) {
    allocore::FailAfter(n);
    bool ok = TranslateDBClass::AddObject(s);
    allocore::FailAfter(0);
    if (ok) break;
    // A failed add leaves the table as it was; the object is still the caller's.
    ASSERT_EQ(TranslateDBClass::GetObjectCount(), 0);
    ASSERT_EQ(TranslateDBClass::FindObjectByIDString("ids_memory"), nullptr);
    ASSERT_LT(n, 20);
  }
  EXPECT_EQ(TranslateDBClass::GetObject(0), s);
  // Without memory to bring the index up to date, a removal still takes its object out of both.
  TranslateDBClass::AddObject(NewString(1001, "IDS_GONE"));
  TranslateDBClass::AddObject(NewString(1002, "IDS_KEPT"));
  allocore::FailFrom(1);
  EXPECT_TRUE(TranslateDBClass::RemoveObject(1));
  allocore::FailAfter(0);
  EXPECT_EQ(TranslateDBClass::FindObjectByIDString("ids_gone"), nullptr);

  int categories = TranslateDBClass::GetCategoryCount();
  allocore::FailAfter(1);
  EXPECT_FALSE(TranslateDBClass::AddCategoryNamed("Menus"));
  allocore::FailAfter(0);
  EXPECT_EQ(TranslateDBClass::GetCategoryCount(), categories);

  TDBStringClass* c = nullptr;
  allocore::FailAfter(1);
  c = s->Clone();
  allocore::FailAfter(0);
  EXPECT_EQ(c, nullptr);
}

}  // namespace
