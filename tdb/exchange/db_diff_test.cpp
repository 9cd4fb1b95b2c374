#include "tdb/exchange/db_diff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tdb/testing/database_fixture.h"

namespace {

using Lines = std::vector<std::string>;

Lines DiffLines(const DatabaseSnapshot& a, const DatabaseSnapshot& b) {
  Lines lines;
  for (const DbChange& change : DiffDatabases(a, b)) lines.push_back(ChangeLine(change));
  return lines;
}

TEST(DbDiff, OneLinePerChange) {
  DatabaseSnapshot a, b;
  a.Categories = {{1, "Default"}, {2, "Menus"}, {3, "Old"}};
  b.Categories = {{1, "Default"}, {2, "Men\xfc"}, {4, "New"}};
  b.Version = 2;
  a.Strings[1000] = {"IDS_A", -1, 1, "", "Alpha", {u"Alpha", u"Alfa"}};
  b.Strings[1000] = {"IDS_AA", 5, 2, "wave", "Alpha", {u"Alpha", u"Alfa \"x\"\n", u"\u00e9t\u00e9"}};
  a.Strings[1001] = {"IDS_B", -1, 1, "", "Beta", {u"Beta", u"Bt"}};
  b.Strings[1001] = {"IDS_B", -1, 1, "", "B", {u"Beta!"}};
  a.Strings[1002] = {"IDS_C", -1, 1, "", "", {u"C"}};
  b.Strings[1002] = {"IDS_C", -1, 1, "", "x", {u"C"}};
  a.Strings[1003] = {"IDS_GONE", -1, 1, "", "Gone", {u"Gone"}};
  b.Strings[1004] = {"IDS_NEW", -1, 1, "", "Tab\t", {u"Tab\t"}};
  EXPECT_EQ(DiffLines(a, a), Lines{});
  EXPECT_EQ(
      DiffLines(a, b),
      (Lines{"version 0 -> 2", "category 2 \"Menus\" renamed \"Men\u00fc\"", "category 3 \"Old\" removed",
             "category 4 \"New\" added", "string 1000 \"IDS_AA\" idString: \"IDS_A\" -> \"IDS_AA\"",
             "string 1000 \"IDS_AA\" soundId: -1 -> 5", "string 1000 \"IDS_AA\" category: 1 -> 2",
             "string 1000 \"IDS_AA\" animation: \"\" -> \"wave\"",
             "string 1000 \"IDS_AA\" text 1: \"Alfa\" -> \"Alfa \\\"x\\\"\\n\"",
             "string 1000 \"IDS_AA\" text 2 added: \"\u00e9t\u00e9\"",
             "string 1001 \"IDS_B\" text 0: \"Beta\" -> \"Beta!\"",
             "string 1001 \"IDS_B\" text 1 removed: \"Bt\"", "string 1002 \"IDS_C\" english: \"\" -> \"x\"",
             "string 1003 \"IDS_GONE\" removed: \"Gone\"", "string 1004 \"IDS_NEW\" added: \"Tab\\t\""}));
}

// A snapshot put back into the database and taken again is the same, the English text included
// where text 0 has no 8-bit form.
class DbSnapshot : public DatabaseTest {};

TEST_F(DbSnapshot, RestoreAndTakeRoundTrip) {
  DatabaseSnapshot s;
  s.Version = 4;
  s.Language = 1;
  s.Categories = {{0, "Default"}, {7, "Seven"}};
  s.Strings[1000] = {"IDS_A", 3, 7, "anim", "Hello", {u"\u4f60\u597d", u"", u"Hallo"}};
  s.Strings[1005] = {"IDS_B", -1, 0, "", "Caf\xe9", {u"Caf\u00e9"}};
  ASSERT_TRUE(RestoreSnapshot(s));
  DatabaseSnapshot back;
  ASSERT_TRUE(TakeSnapshot(back));
  EXPECT_EQ(back.Version, 4);
  EXPECT_EQ(back.Language, 1);
  EXPECT_EQ(back.Categories, s.Categories);
  EXPECT_EQ(back.Strings, s.Strings);
  EXPECT_EQ(DiffLines(s, back), Lines{});
}

}  // namespace
