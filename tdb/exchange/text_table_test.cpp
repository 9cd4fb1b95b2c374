#include "tdb/exchange/text_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tdb/testing/database_fixture.h"
#include "common/testing/fault_disk.h"
#include "common/testing/fault_sweep.h"
#include "common/testing/temp_folder.h"
#include "tdb/exchange/text_table_reader.h"
#include "common/utf8.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";
using Lines = std::vector<std::string>;

class TextTable : public DatabaseTest {
 protected:
  static void AddCategory(int id, const char* name) {
    auto* c = new StringCategoryClass;
    c->ID = id;
    c->Name = name;
    EXPECT_TRUE(TranslateDBClass::AddCategory(c));
  }
  static void AddString(int id, const char* id_string, int category, std::vector<std::u16string> texts,
                        int sound = -1, const char* animation = "") {
    TDBStringClass* s = NewString(id, id_string, u"", category);
    s->SetSoundID(sound);
    s->SetAnimationName(animation);
    for (size_t k = 0; k < texts.size(); ++k) s->SetText(static_cast<int>(k), texts[k].c_str());
    EXPECT_TRUE(TranslateDBClass::AddObject(s));
  }
  static TDBStringClass* Object(int id) { return TranslateDBClass::GetObject(id - 1000); }
  static std::u16string Text(int id, int language) { return Object(id)->GetText(language).Chars(); }
  static std::string Narrow(const NarrowStringClass& s) { return s.Chars(); }
  // "symbolic ID/sound/animation/category/" and the texts (as UTF-8) joined by '|'; "none" if absent.
  static std::string Record(int id) {
    TDBStringClass* s = Object(id);
    if (!s) return "none";
    std::string out = Narrow(s->GetIDString()) + "/" + std::to_string(s->GetSoundID()) + "/" +
                      Narrow(s->GetAnimationName()) + "/" + std::to_string(s->GetCategoryID()) + "/";
    for (int k = 0; k < s->GetTextCount(); ++k) {
      NarrowStringClass utf8;
      EXPECT_TRUE(WideToUtf8(s->GetText(k).Chars(), utf8));
      out += (k ? "|" : "") + Narrow(utf8);
    }
    return out;
  }
  // "ID name" of every category, joined by '|'.
  static std::string Categories() {
    std::string out;
    for (int i = 0; i < TranslateDBClass::GetCategoryCount(); ++i) {
      StringCategoryClass* c = TranslateDBClass::GetCategory(i);
      out += (i ? "|" : "") + std::to_string(c->ID) + " " + Narrow(c->Name);
    }
    return out;
  }

  std::string Export() {
    NarrowStringClass error;
    EXPECT_TRUE(ExportTextTable(path.c_str(), &error)) << error.Chars();
    return ReadBytes(path);
  }

  // Imports bytes; returns the warnings with the "path:" prefix removed.
  Lines Import(const std::string& bytes) {
    WriteBytes(path, bytes);
    DynamicArrayClass<NarrowStringClass> warnings;
    NarrowStringClass error;
    EXPECT_TRUE(ImportTextTable(path.c_str(), &warnings, &error)) << error.Chars();
    Lines out;
    for (int i = 0; i < warnings.Count(); ++i) {
      std::string w = warnings[i].Chars();
      EXPECT_EQ(w.rfind(path + ":", 0), 0u) << w;
      out.push_back(w.substr(path.size() + 1));
    }
    return out;
  }

  TempFolder dir;
  std::string path = dir / "string_table.txt";
};

std::string SevenTexts(const std::string& text) {
  std::string out;
  for (int k = 0; k < 7; ++k) out += std::to_string(k) + "=" + text + "\r\n";
  return out;
}

TEST_F(TextTable, BasicDatabaseReplacesTheOldOneAndExportsTheSame) {
  AddCategory(1, "Old");
  AddString(1005, "IDS_OLD", 1, {u"old"});
  const std::string basic = kBom + "[1,Default]\r\n1000,IDS_OK,-1,\r\n" + SevenTexts("OK");
  EXPECT_TRUE(Import(basic).empty());
  EXPECT_EQ(Categories(), "1 Default");
  ASSERT_EQ(TranslateDBClass::GetObjectCount(), 1);
  EXPECT_EQ(Record(1000), "IDS_OK/-1//1/OK|OK|OK|OK|OK|OK|OK");
  EXPECT_EQ(Narrow(Object(1000)->GetEnglishText()), "OK");
  EXPECT_EQ(Export(), basic);
  // A string whose category is missing is left out; a category without strings is written.
  AddCategory(2, "Empty");
  AddString(1001, "IDS_OUT", 7, {u"out"});
  EXPECT_EQ(Export(), basic + "[2,Empty]\r\n");
}

TEST_F(TextTable, ClassifiesLinesByTheirCharacters) {
  auto warnings = Import(
      "[5,Menus, misc]\r\n"
      "1000,IDS_A,7,walk,run\r\n"
      "0=Hello, world = hi\r\n"
      "3=\r\n"
      "2=two\r\n"
      "[0,Extra]\r\n"
      "900,IDS_X,-1,anim\r\n"
      "1=x\r\n"
      "  +1001 ,IDS_B, -3 ,\r\n"
      "3=three\r\n"
      "3=\r\n"
      "3=   \r\n");
  EXPECT_EQ(Categories(), "5 Menus, misc|6 Extra");
  EXPECT_EQ(Record(1000), "IDS_A/7/walk,run/5/Hello, world = hi||two");  // "3=" set nothing
  EXPECT_EQ(Record(1001), "IDS_X/-1/anim/6/|x");                         // 900 takes the first free ID
  // 1001 was taken by then: the string keeps its place under another ID; an empty text leaves
  // the language as it was.
  EXPECT_EQ(Record(1002), "IDS_B/-3//6/|||three");
  EXPECT_EQ(warnings, Lines({"7: numeric ID 900 is below 1000; IDS_X gets ID 1001",
                             "9: numeric ID 1001 occurs twice; IDS_B gets ID 1002"}));
}

TEST_F(TextTable, MalformedLinesAreSkippedWithWarnings) {
  auto warnings = Import(
      "0=before any string\r\n"
      "1000,IDS_EARLY,-1,\r\n"
      "0=early text\r\n"
      "[1,D]\r\n"
      "1=no string yet\r\n"
      "[7,Unclosed\r\n"
      "1001,IDS_SHORT,-1\r\n"
      "0=text of the short line\r\n"
      "just words\r\n"
      "1002,IDS_OK,-1,\r\n"
      "-1=negative\r\n"
      "256=too high\r\n"
      "6=six\r\n");
  EXPECT_EQ(Categories(), "1 D");
  EXPECT_EQ(Record(1000) + Record(1001), "nonenone");
  EXPECT_EQ(Record(1002), "IDS_OK/-1//1/||||||six");
  EXPECT_EQ(warnings,
            Lines({
                "1: text line without a string line before it; ignored",
                "2: string line before the first category line; it and its texts are ignored",
                "5: text line without a string line before it; ignored",
                "6: category line without a closing ']'; ignored",
                "7: string line without the four fields ID,symbolic ID,sound ID,animation; it and its texts "
                "are ignored",
                "9: not a category, string or text line; ignored",
                "11: language index -1 is outside 0 to 255; text ignored",
                "12: language index 256 is outside 0 to 255; text ignored",
            }));
}

TEST_F(TextTable, LongLinesAreReadWholeAndFieldsCutNeverSplittingASurrogatePair) {
  std::string long_text(3000, 'a');
  std::string long_name(600, 'n');
  auto warnings =
      Import("[1," + long_name + "]\r\n1000," + long_name + ",-1," + long_name + "\r\n0=" + long_text +
             "\r\n1=next\r\n2=" + long_text + "\r\n3=" + std::string(510, 'a') + "\xF0\x9F\x98\x80tail\r\n");
  EXPECT_EQ(TranslateDBClass::GetCategory(0)->Name.Length(), 511);
  EXPECT_EQ(Object(1000)->GetIDString().Length(), 511);
  EXPECT_EQ(Object(1000)->GetAnimationName().Length(), 511);
  EXPECT_EQ(Text(1000, 0), std::u16string(511, u'a'));
  EXPECT_EQ(Text(1000, 1), u"next");
  EXPECT_EQ(Text(1000, 2), std::u16string(511, u'a'));
  EXPECT_EQ(Text(1000, 3), std::u16string(510, u'a'));
  EXPECT_EQ(warnings, Lines({"1: category name cut to 511 characters",
                             "1: category name is longer than 254 bytes; a database file cannot hold it",
                             "2: symbolic ID cut to 511 characters",
                             "2: symbolic ID is longer than 254 bytes; a database file cannot hold it",
                             "2: animation name cut to 511 characters",
                             "2: animation name is longer than 254 bytes; a database file cannot hold it",
                             "3: text of language 0 cut to 511 characters",
                             "5: text of language 2 cut to 511 characters",
                             "6: text of language 3 cut to 510 characters"}));
}

TEST_F(TextTable, LineEndsOfAnyKindReadTheSame) {
  std::string body = "[1,Default]\r\n1000,IDS_OK,-1,anim\r\n" + SevenTexts("OK") + "[2,Two]\r\n";
  auto snapshot = [&](const std::string& bytes) {
    EXPECT_TRUE(Import(bytes).empty());
    return Export();
  };
  std::string reference = snapshot(kBom + body);
  std::string crcrlf, lf;
  for (char c : body) {
    if (c == '\n')
      crcrlf += "\r\n", lf += "\n";
    else if (c != '\r')
      crcrlf += c, lf += c;
  }
  EXPECT_EQ(snapshot(kBom + crcrlf), reference);
  EXPECT_EQ(snapshot(lf), reference);
  // The last line needs no line end.
  EXPECT_EQ(snapshot(body.substr(0, body.size() - 2)), reference);
  // A byte-order mark counts only at the very start; later it is U+FEFF, before which there is
  // no number, so the string line gets the first free ID.
  Import("[1,D]\r\n" + kBom + "1005,IDS,-1,\r\n");
  EXPECT_EQ(Narrow(Object(1000)->GetIDString()), "IDS");
}

TEST_F(TextTable, RoundTripKeepsEveryField) {
  AddCategory(3, "Men\xFC, \xE9tc]");
  AddCategory(1, "Plain");
  AddCategory(9, "Empty");
  AddString(1000, "IDS_TAB", 1, {u"a\tb", u"\u00e9\u20ac\U0001F600", u"x=y, z", u"trailing  "});
  AddString(1002, "IDS_\xC4", 3, {u"only English"}, 42, "wave,hand");
  AddString(1001, "", 1, {u"\u4e2d\u6587", u"", u"\u0645\u0631\u062d\u0628\u0627"}, 0, "");
  std::string first = Export();
  // Narrow bytes are widened byte by byte, so the file holds them as two-byte UTF-8.
  EXPECT_NE(first.find("[3,Men\xC3\xBC, \xC3\xA9tc]]\r\n"), std::string::npos);

  TranslateDBClass::ClearDatabase();
  EXPECT_TRUE(Import(first).empty());
  EXPECT_EQ(Export(), first);
  EXPECT_EQ(Categories(), "3 Men\xFC, \xE9tc]|1 Plain|9 Empty");
  // Languages a string lacked were exported as its text 0.
  EXPECT_EQ(Record(1000), "IDS_TAB/-1//1/a\tb|\u00e9\u20ac\U0001F600|x=y, z|trailing  |a\tb|a\tb|a\tb");
  EXPECT_EQ(Record(1001),
            "/0//1/\u4e2d\u6587||\u0645\u0631\u062d\u0628\u0627|\u4e2d\u6587|\u4e2d\u6587|"
            "\u4e2d\u6587|\u4e2d\u6587");
  std::string english = "only English";
  for (int k = 1; k < 7; ++k) english += "|only English";
  EXPECT_EQ(Record(1002), "IDS_\xC4/42/wave,hand/3/" + english);
}

TEST_F(TextTable, LineFeedsLoneSurrogatesAndCarriageReturnsInTexts) {
  AddCategory(1, "D");
  AddString(1000, "IDS", 1, {u"one\ntwo"});
  AddString(1001, "IDS2", 1, {std::u16string(u"a") + char16_t(0xD800) + u"b", u"c\rd"});
  std::string bytes = Export();
  EXPECT_NE(bytes.find("0=one\r\ntwo\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("0=a\xEF\xBF\xBD"
                       "b\r\n"),
            std::string::npos);
  auto warnings = Import(bytes);
  EXPECT_EQ(Text(1000, 0), u"one");
  EXPECT_EQ(warnings.size(), 7u);  // each "two" line is not a record
  EXPECT_EQ(warnings[0], "4: not a category, string or text line; ignored");
  EXPECT_EQ(Text(1001, 0), u"a\ufffdb");
  EXPECT_EQ(Text(1001, 1), u"c\rd");
}

TEST_F(TextTable, DuplicateIDsKeepEveryRecord) {
  auto warnings = Import(
      "[1,A]\r\n1000,IDS_FIRST,-1,\r\n0=first\r\n"
      "[1,B]\r\n1000,IDS_SECOND,-1,\r\n0=second\r\n"
      "1001,ids_first,-1,\r\n0=third\r\n");
  EXPECT_EQ(Categories(), "1 A|1 B");
  EXPECT_EQ(Record(1000) + " " + Record(1001) + " " + Record(1002),
            "IDS_FIRST/-1//1/first IDS_SECOND/-1//1/second ids_first/-1//1/third");
  EXPECT_EQ(warnings, Lines({"4: category ID 1 occurs twice",
                             "5: numeric ID 1000 occurs twice; IDS_SECOND gets ID 1001",
                             "7: numeric ID 1001 occurs twice; ids_first gets ID 1002"}));
  EXPECT_EQ(TranslateDBClass::GetIDChangeCount(), 0);
  // Both categories share ID 1: their strings are written once, under the first.
  std::string bytes = Export();
  EXPECT_NE(bytes.find("6=third\r\n[1,B]\r\n"), std::string::npos);
  EXPECT_EQ(bytes.size() - bytes.find("[1,B]\r\n"), 7u);
}

TEST_F(TextTable, NumbersReadLikeTheRuntime) {
  auto warnings = Import("[1,D]\r\n-5,IDS_NEG,-1,\r\n99999999,IDS_BIG,-1,\r\n0,IDS_ZERO,-1,\r\n");
  EXPECT_EQ(Record(1000) + " " + Record(1001) + " " + Record(1002),
            "IDS_NEG/-1//1/ IDS_BIG/-1//1/ IDS_ZERO/-1//1/");
  EXPECT_EQ(warnings, Lines({"2: numeric ID -5 is outside 1000 to 9999999; IDS_NEG gets ID 1000",
                             "3: numeric ID 99999999 is outside 1000 to 9999999; IDS_BIG gets ID 1001"}));
  Import("[4294967295,Minus one]\r\n[99999999999,Clamped]\r\n[-99999999999,Low]\r\n");
  EXPECT_EQ(Categories(), "-1 Minus one|2147483647 Clamped|-2147483648 Low");
  // A negative category ID survives a round trip through its unsigned form.
  TranslateDBClass::ClearDatabase();
  AddCategory(-1, "Neg");
  AddString(1000, "IDS", -1, {u"t"});
  std::string bytes = Export();
  EXPECT_NE(bytes.find("[4294967295,Neg]"), std::string::npos);
  Import(bytes);
  EXPECT_EQ(Categories(), "-1 Neg");
  EXPECT_EQ(Object(1000)->GetCategoryID(), -1);
}

TEST_F(TextTable, BadCharactersAreReplacedWithWarnings) {
  auto warnings =
      Import(std::string("[1,D]\r\n1000,IDS_\xE2\x82\xAC,-1,\xF0\x9F\x98\x80\r\n0=bad \xFF byte\r\n") +
             "1=zero" + std::string(1, '\0') + "rest\r\n");
  EXPECT_EQ(Record(1000), "IDS_?/-1/?/1/bad \uFFFD byte|zero");
  EXPECT_EQ(warnings,
            Lines({"2: symbolic ID has characters outside Western European (Latin-1); each became '?'",
                   "2: animation name has characters outside Western European (Latin-1); each became '?'",
                   "3: invalid UTF-8; each bad sequence became U+FFFD",
                   "4: a zero character ends the line here; the rest of the line is ignored"}));
  std::string junk;
  for (int i = 0; i < 250; ++i) junk += "junk\r\n";
  warnings = Import(junk);
  ASSERT_EQ(warnings.size(), 101u);
  EXPECT_EQ(warnings.back(), " 150 more warnings not listed");
}

TEST_F(TextTable, UnreadableFileLeavesTheDatabaseAndSaysWhy) {
  AddCategory(1, "Kept");
  DynamicArrayClass<NarrowStringClass> warnings;
  NarrowStringClass error;
  std::string missing = dir / "missing.txt";
  EXPECT_FALSE(ImportTextTable(missing.c_str(), &warnings, &error));
  EXPECT_EQ(std::string(error.Chars()).rfind(missing + ": ", 0), 0u);
  EXPECT_FALSE(ImportTextTable(dir.path().c_str(), &warnings, &error));  // a folder
  WriteBytes(path, "[2,Other]\r\n");
  {
    platform::FaultDisk disk;
    disk.fail_read = 1;
    EXPECT_FALSE(ImportTextTable(path.c_str(), &warnings, &error, disk));
  }
  EXPECT_EQ(Categories(), "1 Kept");
  EXPECT_EQ(warnings.Count(), 0);
}

TEST_F(TextTable, ExportSurvivesEveryDiskAndMemoryFailure) {
  AddCategory(1, "D");
  AddString(1000, "IDS", 1, {u"t", u"\u00e9t\u00e9"});
  AddString(1001, "IDS_TWO", 1, {u"two"});
  fault_sweep::ExpectSafeReplacement(path, ExportTextTable);
}

// Each run either reads the whole table or reports the failure; what it read is cleared after.
TEST_F(TextTable, ImportSurvivesEveryDiskAndMemoryFailure) {
  AddCategory(1, "D");
  AddCategory(2, "Menus");
  AddString(1000, "IDS", 1, {u"t", u"\u00e9t\u00e9"}, 3, "anim");
  AddString(1001, "IDS_TWO", 2, {u"two"});
  const std::string expected = Export();
  WriteBytes(path, expected);
  TranslateDBClass::ClearDatabase();
  NarrowStringClass error;
  auto import = [&](platform::DiskInterface& disk) {
    DynamicArrayClass<NarrowStringClass> warnings;
    return ImportTextTable(path.c_str(), &warnings, &error, disk);
  };
  auto check = [&](const std::string& where, bool ok) {
    if (ok) {
      EXPECT_EQ(Export(), expected) << where;
    }
    EXPECT_TRUE(ok || !error.IsEmpty()) << where;
    error.Release();
    TranslateDBClass::ClearDatabase();
  };
  EXPECT_GT(fault_sweep::Disk(fault_sweep::kReading, import, check), 0);
  EXPECT_GT(fault_sweep::Allocations([&] { return import(platform::SystemDisk()); }, check), 0);
}

TEST_F(TextTable, PiecesOfAnySizeReadTheSame) {
  AddCategory(1, "M\xFCnchen");
  AddString(1000, "IDS_A", 1, {u"\u00e9t\u00e9 \U0001F600", u"b"}, 3, "anim");
  AddString(1001, "IDS_B", 1, {std::u16string(1500, u'\u4e2d')});
  std::string bytes = Export();
  for (size_t piece : {1, 2, 3, 5, 1024, 4099}) {
    TranslateDBClass::ClearDatabase();
    DynamicArrayClass<NarrowStringClass> warnings;
    TextTableReaderClass reader("mem", &warnings);
    for (size_t at = 0; at < bytes.size(); at += piece)
      ASSERT_TRUE(reader.Feed(bytes.data() + at, std::min(piece, bytes.size() - at)));
    ASSERT_TRUE(reader.Finish());
    EXPECT_EQ(warnings.Count(), 7) << piece;  // the long text was cut in every language
    EXPECT_EQ(Categories(), "1 M\xFCnchen") << piece;
    EXPECT_EQ(Text(1000, 0), u"\u00e9t\u00e9 \U0001F600") << piece;
    EXPECT_EQ(Text(1001, 0), std::u16string(511, u'\u4e2d')) << piece;
  }
}

}  // namespace
