// Tests of the string object and category records.
#include <gtest/gtest.h>

#include "strandex/db/db_test_util.h"

namespace {

TEST(TDBString, Defaults) {
  TDBStringClass s;
  EXPECT_EQ(s.GetID(), 0);
  EXPECT_EQ(s.GetSoundID(), -1);
  EXPECT_EQ(s.GetCategoryID(), 0);
  EXPECT_TRUE(s.GetEnglishText().IsEmpty() && s.GetIDString().IsEmpty() && s.GetAnimationName().IsEmpty());
  EXPECT_EQ(s.GetTextCount(), 0);
  EXPECT_TRUE(s.GetText(0).IsEmpty());
  EXPECT_FALSE(s.HasText(0));
  EXPECT_EQ(s.GetFactory()->GetChunkID(), 0x90001u);
  StringCategoryClass c;
  EXPECT_EQ(c.ID, 0);
  EXPECT_EQ(c.GetFactory()->GetChunkID(), 0x90002u);
}

TEST(TDBString, SetTextPadsAndTiesLanguageZero) {
  TDBStringClass s;
  s.SetEnglishText("Hello");
  EXPECT_EQ(s.GetTextCount(), 1);
  EXPECT_TRUE(s.GetText(0) == u"Hello");
  ASSERT_TRUE(s.SetText(3, u"Drei"));
  EXPECT_EQ(s.GetTextCount(), 4);
  EXPECT_TRUE(s.GetText(1).IsEmpty() && s.GetText(2).IsEmpty());
  EXPECT_FALSE(s.HasText(1));
  EXPECT_TRUE(s.HasText(3));
  EXPECT_TRUE(s.GetText(9) == u"Hello");  // past the end: text 0
  EXPECT_TRUE(s.GetEnglishText() == "Hello");

  s.SetText(0, u"");  // empties text 0, keeps EnglishText
  EXPECT_TRUE(s.GetText(0).IsEmpty());
  EXPECT_TRUE(s.GetEnglishText() == "Hello");
  s.SetText(0, u"caf\u00e9 \u4e2d");  // no narrow form: EnglishText kept
  EXPECT_TRUE(s.GetEnglishText() == "Hello");
  s.SetText(0, u"caf\u00e9");
  EXPECT_TRUE(s.GetEnglishText() == "caf\xe9");

  TDBStringClass t;
  t.SetText(2, nullptr);
  EXPECT_EQ(t.GetTextCount(), 3);
  EXPECT_TRUE(t.GetEnglishText().IsEmpty());
  t.SetIDString("IDS_A");
  t.SetIDString(nullptr);
  t.SetAnimationName(nullptr);
  EXPECT_TRUE(t.GetIDString() == "IDS_A");
  EXPECT_TRUE(t.GetAnimationName().IsEmpty());
}

TEST(TDBString, CloneCopiesEverything) {
  TDBStringClass s;
  s.SetID(1234);
  s.SetIDString("IDS_X");
  s.SetAnimationName("wave");
  s.SetSoundID(7);
  s.SetCategoryID(3);
  s.SetEnglishText("Yes");
  s.SetText(1, u"Ja");
  TDBStringClass* c = s.Clone();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetID(), 1234);
  EXPECT_TRUE(c->GetIDString() == "IDS_X" && c->GetAnimationName() == "wave" && c->GetEnglishText() == "Yes");
  EXPECT_EQ(c->GetSoundID(), 7);
  EXPECT_EQ(c->GetCategoryID(), 3);
  EXPECT_EQ(c->GetTextCount(), 2);
  EXPECT_TRUE(c->GetText(1) == u"Ja");
  delete c;
}

TEST(TDBString, CurrentTextFollowsTheDatabaseLanguage) {
  TDBStringClass s;
  s.SetEnglishText("One");
  s.SetText(1, u"Eins");
  TranslateDBClass::SetCurrentLanguage(1);
  EXPECT_TRUE(s.GetCurrentText() == u"Eins");
  TranslateDBClass::SetCurrentLanguage(0);
  EXPECT_TRUE(s.GetCurrentText() == u"One");
}

}  // namespace
