#include "tdb/exchange/db_merge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

SnapshotString S(const char* idString, std::vector<std::u16string> texts, int category = 1) {
  SnapshotString s;
  s.IDString = idString;
  s.CategoryID = category;
  s.Texts = std::move(texts);
  return s;
}

DatabaseSnapshot Base() {
  DatabaseSnapshot db;
  db.Categories = {{1, "Default"}, {2, "Menus"}};
  db.Strings[1000] = S("IDS_A", {u"Alpha", u"Alfa"});
  db.Strings[1001] = S("IDS_B", {u"Beta"});
  db.Strings[1002] = S("IDS_C", {u"Gamma"});
  return db;
}

TEST(DbMerge, ChangesOfEitherSideAndTheSameChangeOnBothAreTaken) {
  DatabaseSnapshot base = Base(), ours = Base(), theirs = Base();
  ours.Strings[1000].Texts[1] = u"Alfa!";  // ours only
  theirs.Strings[1000].SoundID = 7;        // theirs only, the same string
  theirs.Strings[1001].Texts.push_back(u"Beta de");
  theirs.Strings[1001].English = "B";  // the English text alone
  ours.Strings[1002].CategoryID = 2;   // the same on both sides
  theirs.Strings[1002].CategoryID = 2;
  ours.Strings[1003] = S("IDS_OURS", {u"Mine"});
  theirs.Strings[1004] = S("IDS_THEIRS", {u"Yours"});
  ours.Strings[1005] = theirs.Strings[1005] = S("IDS_BOTH", {u"Same"});  // added alike
  base.Strings[1006] = ours.Strings[1006] = theirs.Strings[1006] = S("IDS_GONE", {u"Old"});
  theirs.Strings.erase(1006);  // removed by theirs, unchanged by ours
  theirs.Version = 3;
  theirs.Categories.push_back({3, "Intro"});
  ours.Categories[1].Name = "Menu";

  MergeOutcome m = MergeDatabases(base, ours, theirs);
  EXPECT_EQ(m.Conflicts, Lines{});
  EXPECT_EQ(m.Merged.Version, 3);
  EXPECT_EQ(m.Merged.Categories, (std::vector<SnapshotCategory>{{1, "Default"}, {2, "Menu"}, {3, "Intro"}}));
  std::vector<int> ids;
  for (const auto& entry : m.Merged.Strings) ids.push_back(entry.first);
  EXPECT_EQ(ids, (std::vector<int>{1000, 1001, 1002, 1003, 1004, 1005}));
  EXPECT_EQ(m.Merged.Strings[1000].Texts, (std::vector<std::u16string>{u"Alpha", u"Alfa!"}));
  EXPECT_EQ(m.Merged.Strings[1000].SoundID, 7);
  EXPECT_EQ(m.Merged.Strings[1001].Texts, (std::vector<std::u16string>{u"Beta", u"Beta de"}));
  EXPECT_EQ(m.Merged.Strings[1001].English, "B");
  EXPECT_EQ(m.Merged.Strings[1002].CategoryID, 2);
  EXPECT_EQ(m.Merged.Strings[1004].IDString, "IDS_THEIRS");
}

TEST(DbMerge, ConflictsKeepOurSide) {
  DatabaseSnapshot base = Base(), ours = Base(), theirs = Base();
  base.Strings[1003] = S("IDS_D", {u"Delta"});
  ours.Strings[1003] = theirs.Strings[1003] = base.Strings[1003];
  ours.Strings[1000].Texts[1] = u"Alfa!";  // one field, two changes
  theirs.Strings[1000].Texts[1] = u"Alfa?";
  ours.Strings[1000].Texts.push_back(u"x");  // language 2 added by ours, texts left by theirs
  theirs.Strings[1000].Texts.resize(1);      // text 1 removed by theirs
  ours.Strings.erase(1001);                  // removed by ours, changed by theirs
  theirs.Strings[1001].SoundID = 4;
  ours.Strings[1002].Texts[0] = u"Gamma!";  // changed by ours, removed by theirs
  theirs.Strings.erase(1002);
  ours.Strings[1004] = S("IDS_NEW", {u"Mine"});  // one new ID, two new strings
  theirs.Strings[1004] = S("IDS_OTHER", {u"Theirs"});
  theirs.Strings[1005] = S("ids_new", {u"Again"});  // a symbolic ID the two sides now share
  ours.Strings[1003].IDString = "IDS_E";
  theirs.Strings[1003].IDString = "IDS_F";
  ours.Language = 1;
  theirs.Language = 2;
  ours.Categories[1].Name = "Menu";
  theirs.Categories[1].Name = "Menus!";
  ours.Categories.push_back({3, "Ours"});
  theirs.Categories.push_back({3, "Theirs"});
  theirs.Categories.erase(theirs.Categories.begin());  // removed by theirs, unchanged by ours

  MergeOutcome m = MergeDatabases(base, ours, theirs);
  EXPECT_EQ(m.Conflicts,
            (Lines{"language: ours 1, theirs 2; ours kept",
                   "category 2 \"Menu\" name: ours \"Menu\", theirs \"Menus!\"; ours kept",
                   "category 3 \"Ours\" name: ours \"Ours\", theirs \"Theirs\"; ours kept",
                   "string 1000 \"IDS_A\" text 1: ours \"Alfa!\", theirs none; ours kept",
                   "string 1001 \"IDS_B\": removed by ours, changed by theirs; ours kept",
                   "string 1002 \"IDS_C\": changed by ours, removed by theirs; ours kept",
                   "string 1003 \"IDS_E\" idString: ours \"IDS_E\", theirs \"IDS_F\"; ours kept",
                   "string 1004: ours added \"IDS_NEW\", theirs added \"IDS_OTHER\"; theirs now has ID 1006",
                   "symbolic ID \"IDS_NEW\" is now used by strings 1004 and 1005"}));
  EXPECT_EQ(m.Merged.Language, 1);
  EXPECT_EQ(m.Merged.Categories, (std::vector<SnapshotCategory>{{2, "Menu"}, {3, "Ours"}}));
  EXPECT_EQ(m.Merged.Strings.count(1001), 0u);
  EXPECT_EQ(m.Merged.Strings[1000].Texts, (std::vector<std::u16string>{u"Alpha", u"Alfa!", u"x"}));
  EXPECT_EQ(m.Merged.Strings[1002].Texts[0], u"Gamma!");
  EXPECT_EQ(m.Merged.Strings[1004].IDString, "IDS_NEW");
  EXPECT_EQ(m.Merged.Strings[1006].IDString, "IDS_OTHER");
}

}  // namespace
