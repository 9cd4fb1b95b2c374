// Tests of the consistency checks.
#include "strandex/db/database_check.h"

#include <gtest/gtest.h>

#include "strandex/db/db_test_util.h"

namespace {

using DatabaseCheck = DatabaseTest;

std::string All(const DynamicArrayClass<NarrowStringClass>& lines) {
  std::string text;
  for (int i = 0; i < lines.Count(); ++i) text += std::string(lines[i].Chars()) + "\n";
  return text;
}

TEST_F(DatabaseCheck, CleanDatabaseHasNoProblems) {
  TranslateDBClass::Initialize();
  TranslateDBClass::AddObject(NewString(1000, "IDS_OK"));
  EXPECT_EQ(ListDatabaseProblems(nullptr), 0);
}

TEST_F(DatabaseCheck, ListsEveryKindOfProblem) {
  TranslateDBClass::Initialize();
  StringCategoryClass* twin = new StringCategoryClass;
  twin->ID = 1;
  twin->Name = "Twin";
  TranslateDBClass::AddCategory(twin);
  TranslateDBClass::AddObject(NewString(1000, "IDS_Same"));
  TranslateDBClass::AddObject(NewString(1001, "ids_same"));
  TranslateDBClass::AddObject(NewString(1002, "2nd id"));
  TranslateDBClass::AddObject(NewString(1003, ""));
  TranslateDBClass::AddObject(NewString(1004, "IDS_LOST", u"", 9));
  TDBStringClass* longer = NewString(1005, "IDS_\"LONG\"\n");
  longer->SetAnimationName(std::string(300, 'a').c_str());
  TranslateDBClass::AddObject(longer);
  DynamicArrayClass<NarrowStringClass> problems;
  EXPECT_EQ(ListDatabaseProblems(&problems), 7);
  std::string text = All(problems);
  EXPECT_NE(text.find("category 1: the ID is used by more than one category\n"), std::string::npos) << text;
  EXPECT_NE(text.find("string 1001 \"ids_same\": the symbolic ID is also used by string 1000\n"),
            std::string::npos);
  EXPECT_NE(text.find("string 1002 \"2nd id\": the symbolic ID is not a valid C identifier\n"),
            std::string::npos);
  EXPECT_NE(text.find("string 1003 \"\": the symbolic ID is empty\n"), std::string::npos);
  EXPECT_NE(text.find("string 1004 \"IDS_LOST\": category 9 does not exist\n"), std::string::npos);
  EXPECT_NE(
      text.find("string 1005 \"IDS_\\x22LONG\\x22\\x0a\": the symbolic ID is not a valid C identifier\n"),
      std::string::npos)
      << text;
  EXPECT_NE(text.find("string 1005 \"IDS_\\x22LONG\\x22\\x0a\": animation name is 300 bytes long"),
            std::string::npos);
  EXPECT_EQ(ListUnsaveableFields(nullptr), 1);
}

TEST(CIdentifier, Rules) {
  EXPECT_TRUE(IsCIdentifier("_a1"));
  EXPECT_TRUE(IsCIdentifier("IDS_OK"));
  EXPECT_FALSE(IsCIdentifier(""));
  EXPECT_FALSE(IsCIdentifier("1a"));
  EXPECT_FALSE(IsCIdentifier("a-b"));
  EXPECT_FALSE(IsCIdentifier("caf\xe9"));
}

}  // namespace
