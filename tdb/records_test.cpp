// Tests of the string object and category records.
#include <gtest/gtest.h>

#include "tdb/testing/database_fixture.h"

namespace {

TEST(TDBString, SetTextPadsAndTiesLanguageZero) {
  TDBStringClass s;
  EXPECT_TRUE(s.GetText(0).IsEmpty());  // no texts at all
  EXPECT_FALSE(s.HasText(0));
  s.SetEnglishText("Hello");
  EXPECT_EQ(s.GetTextCount(), 1);
  EXPECT_EQ(s.GetText(0), u"Hello");
  ASSERT_TRUE(s.SetText(3, u"Drei"));
  EXPECT_EQ(s.GetTextCount(), 4);
  EXPECT_TRUE(s.GetText(1).IsEmpty() && s.GetText(2).IsEmpty());
  EXPECT_FALSE(s.HasText(1));
  EXPECT_TRUE(s.HasText(3));
  EXPECT_EQ(s.GetText(9), u"Hello");  // past the end: text 0
  EXPECT_EQ(s.GetEnglishText(), "Hello");

  s.SetText(0, u"");  // empties text 0, keeps EnglishText
  EXPECT_TRUE(s.GetText(0).IsEmpty());
  EXPECT_EQ(s.GetEnglishText(), "Hello");
  s.SetText(0, u"caf\u00e9 \u4e2d");  // no narrow form: EnglishText kept
  EXPECT_EQ(s.GetEnglishText(), "Hello");
  s.SetText(0, u"caf\u00e9");
  EXPECT_EQ(s.GetEnglishText(), "caf\xe9");

  TDBStringClass t;
  t.SetText(2, nullptr);
  EXPECT_EQ(t.GetTextCount(), 3);
  EXPECT_TRUE(t.GetEnglishText().IsEmpty());
  t.SetIDString("IDS_A");
  t.SetIDString(nullptr);
  t.SetAnimationName(nullptr);
  EXPECT_EQ(t.GetIDString(), "IDS_A");
  EXPECT_TRUE(t.GetAnimationName().IsEmpty());
}

TEST(TDBString, CloneCopiesEverythingAndCurrentTextFollowsTheLanguage) {
  TDBStringClass* s = NewString(1234, "IDS_X", u"Yes", 3);
  s->SetAnimationName("wave");
  s->SetSoundID(7);
  s->SetText(1, u"Ja");
  TDBStringClass* c = s->Clone();
  delete s;
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(std::to_string(c->GetID()) + " " + c->GetIDString().Chars() + " " +
                c->GetAnimationName().Chars() + " " + c->GetEnglishText().Chars() + " " +
                std::to_string(c->GetSoundID()) + " " + std::to_string(c->GetCategoryID()) + " " +
                std::to_string(c->GetTextCount()),
            "1234 IDS_X wave Yes 7 3 2");
  EXPECT_EQ(c->GetText(1), u"Ja");
  TranslateDBClass::SetCurrentLanguage(1);
  EXPECT_EQ(c->GetCurrentText(), u"Ja");
  TranslateDBClass::SetCurrentLanguage(0);
  EXPECT_EQ(c->GetCurrentText(), u"Yes");
  delete c;
}

}  // namespace
