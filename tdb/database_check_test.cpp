// Tests of the consistency checks.
#include "tdb/database_check.h"

#include <gtest/gtest.h>

#include "tdb/testing/database_fixture.h"

namespace {

using DatabaseCheck = DatabaseTest;

TEST_F(DatabaseCheck, ListsEveryKindOfProblem) {
  TranslateDBClass::Initialize();
  TranslateDBClass::AddObject(NewString(1000, "IDS_Same"));
  EXPECT_EQ(ListDatabaseProblems(nullptr), 0);
  StringCategoryClass* twin = new StringCategoryClass;
  twin->ID = 1;
  twin->Name = "Twin";
  TranslateDBClass::AddCategory(twin);
  StringCategoryClass* negative = new StringCategoryClass;
  negative->ID = -3;
  TranslateDBClass::AddCategory(negative);
  TranslateDBClass::AddObject(NewString(1001, "ids_same"));
  TranslateDBClass::AddObject(NewString(1002, "2nd id"));
  TranslateDBClass::AddObject(NewString(1003, ""));
  TranslateDBClass::AddObject(NewString(1004, "IDS_LOST", u"", 9));
  TDBStringClass* longer = NewString(1005, "IDS_\"LONG\"\n");
  longer->SetAnimationName(std::string(300, 'a').c_str());
  TranslateDBClass::AddObject(longer);
  DynamicArrayClass<NarrowStringClass> problems;
  EXPECT_EQ(ListDatabaseProblems(&problems), 8);
  std::string text;
  for (int i = 0; i < problems.Count(); ++i) text += std::string(problems[i].Chars()) + "\n";
  EXPECT_EQ(
      text,
      "category 1: the ID is used by more than one category\n"
      "category -3: the ID is negative\n"
      "string 1001 \"ids_same\": the symbolic ID is also used by string 1000\n"
      "string 1002 \"2nd id\": the symbolic ID is not a valid C identifier\n"
      "string 1003 \"\": the symbolic ID is empty\n"
      "string 1004 \"IDS_LOST\": category 9 does not exist\n"
      "string 1005 \"IDS_\\x22LONG\\x22\\x0a\": the symbolic ID is not a valid C identifier\n"
      "string 1005 \"IDS_\\x22LONG\\x22\\x0a\": animation name is 300 bytes long; at most 254 bytes can "
      "be saved\n");
  EXPECT_EQ(ListUnsaveableFields(nullptr), 1);
}

TEST(CIdentifier, Rules) {
  EXPECT_TRUE(IsCIdentifier("_a1") && IsCIdentifier("IDS_OK"));
  for (const char* bad : {"", "1a", "a-b", "caf\xe9"}) EXPECT_FALSE(IsCIdentifier(bad)) << bad;
}

}  // namespace
