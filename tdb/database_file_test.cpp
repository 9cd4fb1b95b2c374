// Tests of the .tdb format: the bytes of an empty database, the size of each field, round trips, chunks that
// no handler takes, damaged files, the refusals of the writer and saving to a path.
#include <gtest/gtest.h>

#include <set>

#include "common/testing/fault_disk.h"
#include "common/testing/fault_sweep.h"
#include "common/testing/temp_folder.h"
#include "common/write_back_file.h"
#include "tdb/tdb_format.h"
#include "tdb/testing/database_fixture.h"

namespace {

using DatabaseFile = DatabaseTest;

std::string Envelope(uint32_t factory, const std::string& data) {
  return Chunk(factory, Chunk(0x00100100, Word32(77)) + Chunk(0x00100101, data, true), true);
}
std::string Database(const std::string& payload) { return Chunk(0x00090000, payload, true); }
std::string Int(int32_t v) { return Word32(static_cast<uint32_t>(v)); }

// The fields of the string in slot (or "none"): "ID symbolic [English] sound category anim: texts".
std::string Fields(int slot) {
  TDBStringClass* s = TranslateDBClass::GetObject(slot);
  if (!s) return "none";
  std::string out = std::to_string(s->GetID()) + " " + s->GetIDString().Chars() + " [" +
                    s->GetEnglishText().Chars() + "] " + std::to_string(s->GetSoundID()) + " " +
                    std::to_string(s->GetCategoryID()) + " " + s->GetAnimationName().Chars() + ":";
  for (int i = 0; i < s->GetTextCount(); ++i) {
    NarrowStringClass utf8;
    WideToUtf8(s->GetText(i).Chars(), utf8);
    out += std::string(i ? "|" : "") + utf8.Chars();
  }
  return out;
}
// "ID name" of each category.
std::string Categories() {
  std::string out;
  for (int i = 0; i < TranslateDBClass::GetCategoryCount(); ++i)
    out += (i ? ", " : "") + std::to_string(TranslateDBClass::GetCategory(i)->ID) + " " +
           TranslateDBClass::GetCategory(i)->Name.Chars();
  return out;
}

TEST_F(DatabaseFile, EmptyDatabaseIs104Bytes) {
  TranslateDBClass::Initialize();
  std::string bytes = SaveToBytes();
  const unsigned char expected[] = {
      0x00, 0x00, 0x09, 0x00, 0x60, 0x00, 0x00, 0x80, 0x00, 0x12, 0x14, 0x07, 0x0C, 0x00, 0x00,
      0x00, 0x01, 0x04, 0x00, 0x00, 0x00, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00, 0x00, 0x02, 0x12,
      0x14, 0x07, 0x3C, 0x00, 0x00, 0x80, 0x02, 0x00, 0x09, 0x00, 0x34, 0x00, 0x00, 0x80, 0x00,
      0x01, 0x10, 0x00, 0x04, 0x00, 0x00, 0x00, 0xEE, 0xEE, 0xEE, 0xEE, 0x01, 0x01, 0x10, 0x00,
      0x20, 0x00, 0x00, 0x80, 0x23, 0x10, 0x22, 0x11, 0x00, 0x00, 0x00, 0x00, 0x22, 0x10, 0x22,
      0x11, 0x10, 0x00, 0x00, 0x00, 0x01, 0x04, 0x01, 0x00, 0x00, 0x00, 0x02, 0x08, 'D',  'e',
      'f',  'a',  'u',  'l',  't',  0x00, 0x01, 0x12, 0x14, 0x07, 0x00, 0x00, 0x00, 0x00};
  ASSERT_EQ(bytes.size(), 104u);
  for (size_t i = 0; i < 104; ++i) {
    if (i >= 52 && i < 56) continue;  // the token
    EXPECT_EQ(static_cast<unsigned char>(bytes[i]), expected[i]) << "offset " << i;
  }
}

TEST_F(DatabaseFile, EachFieldAddsItsChunkToTheSize) {
  StringCategoryClass* cat = new StringCategoryClass;
  cat->Name = "Menus and more";
  TranslateDBClass::AddCategory(cat);
  std::string one_category = SaveToBytes();
  // Header, variables (8 + 12), categories header, the objects chunk as an empty header.
  EXPECT_EQ(one_category.size(), 8u + 20 + 8 + (14 + 53) + 8);
  EXPECT_EQ(one_category.substr(one_category.size() - 8), Word32(0x07141201) + Word32(0));

  TDBStringClass* s = NewString(1000, "IDS_ABC", u"Hello");
  s->SetAnimationName("wave");
  s->SetText(2, u"\u00fcber");
  TranslateDBClass::AddObject(s);
  std::string with_string = SaveToBytes();
  size_t a = 7, b = 4, e = 5;
  size_t texts = (8 + 2 * (5 + 1)) + (8 + 2 * 1) + (8 + 2 * (4 + 1));
  EXPECT_EQ(with_string.size() - one_category.size(), 8 + 12 + 8 + 8 + (a + b + 32) + (8 + e + 1) + texts);
}

TEST_F(DatabaseFile, RoundTripReproducesTheFile) {
  TranslateDBClass::Initialize();
  TranslateDBClass::AddCategoryNamed("Dialogs");
  TranslateDBClass::SetVersion(12);
  TDBStringClass* s = NewString(1005, "IDS_FIVE", u"Five", 2);
  s->SetSoundID(33);
  s->SetAnimationName("nod");
  s->SetText(6, u"\u4e94 \U0001F600");
  TranslateDBClass::AddObject(s);
  TranslateDBClass::AddObject(NewString(1001, "IDS_ONE", u"One"));
  TDBStringClass* bare = new TDBStringClass;  // no texts at all
  bare->SetID(1002);
  TranslateDBClass::AddObject(bare);
  std::string first = SaveToBytes();
  // Each envelope (two categories, three strings) has its own token.
  const std::string header = Word32(0x00100100) + Word32(4);
  std::set<std::string> tokens;
  for (size_t at = first.find(header); at != std::string::npos; at = first.find(header, at + 1))
    EXPECT_TRUE(tokens.insert(first.substr(at + 8, 4)).second) << at;
  EXPECT_EQ(tokens.size(), 5u);

  bool damaged = true;
  ASSERT_TRUE(LoadFromBytes(first, &damaged));
  EXPECT_FALSE(damaged);
  EXPECT_EQ(TranslateDBClass::GetVersion(), 12);
  EXPECT_EQ(Categories(), "1 Default, 2 Dialogs");
  EXPECT_EQ(Fields(5), "1005 IDS_FIVE [Five] 33 2 nod:Five||||||\u4e94 \U0001F600");
  EXPECT_EQ(Fields(2), "1002  [] -1 0 :");  // text 0 made from EnglishText
  EXPECT_EQ(TranslateDBClass::GetObject(2)->GetTextCount(), 1);
  EXPECT_EQ(Fields(3), "none");
  EXPECT_EQ(TranslateDBClass::FindObjectByIDString("ids_five"), TranslateDBClass::GetObject(5));

  std::string second = SaveToBytes();
  // The object written without texts comes back with text 0, one chunk of 10 bytes more.
  EXPECT_EQ(second.size(), first.size() + 10);
  EXPECT_EQ(WithoutTokens(SaveToBytes()), WithoutTokens(second));
  ASSERT_TRUE(LoadFromBytes(second));
  EXPECT_EQ(WithoutTokens(SaveToBytes()), WithoutTokens(second));
}

TEST_F(DatabaseFile, UnknownChunksAndFieldsArePassedOver) {
  std::string fields =
      Chunk(0x06141108, Micro(0x01, Int(1200)) + Micro(0x42, "skip me") + Micro(0x05, Int(9)) +
                            Micro(0x02, std::string("IDS_Q\0", 6)) + Micro(0x04, std::string("Narrow\0", 7)) +
                            Micro(0x03, std::string("W\0i\0\0\0", 6)));
  std::string object = Envelope(
      0x00090001, Chunk(0x12345678, "??") + fields + Chunk(0x0614110B, std::string("T\0w\0o\0\0\0", 8)));
  std::string bytes =
      Chunk(0x00000101, "other section") +
      Database(Chunk(0x07141200, Micro(0x09, "x") + Micro(0x01, Int(3)) + Micro(0x02, Int(1))) +
               Chunk(0x07141201, object + Chunk(0x0DDBA11, "odd"), true) + Chunk(0x77777777, "", false));
  MemoryFileClass memory(bytes.data(), static_cast<int>(bytes.size()));
  ChunkReaderClass reader(&memory);
  int sections = 0;
  ASSERT_TRUE(LoadFile(reader, &sections));
  EXPECT_EQ(sections, 1);
  EXPECT_FALSE(reader.IsDamaged());
  EXPECT_EQ(reader.PassedChunkCount(), 4);
  EXPECT_EQ(reader.GetPassedChunk(0).ChunkID, 0x101u);
  EXPECT_EQ(reader.GetPassedChunk(0).Offset, 0);
  EXPECT_EQ(TranslateDBClass::GetVersion(), 3);
  EXPECT_EQ(TranslateDBClass::GetCurrentLanguage(), 1);
  // The micro chunk text, then the chunk text.
  EXPECT_EQ(Fields(200), "1200 IDS_Q [Narrow] 9 0 :Wi|Two");
  EXPECT_EQ(Categories(), "1 Default");  // no categories in the file
}

TEST_F(DatabaseFile, OddPayloadsAndMissingFields) {
  // Strings without a terminator end with their payload, the last unit whole; an odd UTF-16 byte
  // is dropped; a category with ID 0 is numbered; an envelope without fields gets the next free ID.
  std::string category = Envelope(0x00090002, Chunk(0x11221022, Micro(0x01, Int(0)) + Micro(0x02, "Open")));
  std::string object =
      Envelope(0x00090001, Chunk(0x0614110A, "NoNul") + Chunk(0x0614110B, std::string("A\0B\0C", 5)) +
                               Chunk(0x0614110B, std::string("A\0\x2d\x4e", 4)));
  std::string bytes =
      Database(Chunk(0x07141202, category + category, true) + Chunk(0x07141201, object, true));
  bool damaged = true;
  ASSERT_TRUE(LoadFromBytes(bytes, &damaged));
  EXPECT_FALSE(damaged);
  EXPECT_EQ(Categories(), "1 Open, 2 Open");
  EXPECT_EQ(Fields(0), "1000  [NoNul] -1 0 :AB|A\u4e2d");
  // An envelope without its token, or with nothing in it, is damage.
  for (std::string strings :
       {Chunk(0x00090001, Chunk(0x00100101, Chunk(0x0614110A, "Data")), true), Chunk(0x00090001, "", true),
        Chunk(0x00090001, Chunk(0x00100100, Int(5)), true)}) {
    ASSERT_TRUE(LoadFromBytes(Database(Chunk(0x07141201, strings, true)), &damaged));
    EXPECT_TRUE(damaged) << strings.size();
  }
  EXPECT_EQ(Fields(0), "1000  [] -1 0 :");
}

// Saves two strings, the first with text language as well.
std::string TwoStrings(int language, const char16_t* text) {
  TranslateDBClass::Initialize();
  TDBStringClass* s = NewString(1000, "IDS_A", u"Alpha");
  s->SetText(language, text);
  TranslateDBClass::AddObject(s);
  TranslateDBClass::AddObject(NewString(1001, "IDS_B", u"Beta"));
  return SaveToBytes();
}

// The fields of every string, and with them the saved bytes.
std::string AllFields() {
  std::string fields;
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    fields += Fields(i) + " (" + std::to_string(s ? s->GetTextCount() : 0) + " texts)";
  }
  return fields;
}
std::string Contents() { return WithoutTokens(SaveToBytes()) + AllFields(); }

// A file cut anywhere loads what is left, each string as a save writes it; without texts, with
// the same damage at the same offset and as many strings; with texts on demand, the same
// strings, texts and saved bytes as whole (the save reading the texts still waiting), also from
// a file read in pieces of 3 bytes. A database without texts is not saved.
TEST_F(DatabaseFile, TruncationAtEveryByte) {
  std::string whole = TwoStrings(1, u"Alfa");
  TempFolder folder;
  const std::string path = folder / "cut.tdb";
  const LoadedParts kParts[] = {LoadedParts::kWhole, LoadedParts::kTextsOnDemand, LoadedParts::kWithoutTexts};
  for (size_t n = 0; n <= whole.size(); ++n) {
    std::string damage[3], contents[2], saved, fields;
    for (int mode = 0; mode < 3; ++mode) {
      ASSERT_TRUE(LoadFromBytes(whole.substr(0, n), nullptr, kParts[mode], &damage[mode])) << n;
      if (mode == 2) break;
      contents[mode] = Contents();
      if (mode == 0) saved = SaveToBytes(), fields = AllFields();
    }
    EXPECT_EQ(damage[0], damage[1]) << n;
    EXPECT_EQ(damage[0], damage[2]) << n;
    EXPECT_EQ(contents[0], contents[1]) << n;
    EXPECT_EQ(damage[0].rfind("no damage", 0) != 0, n > 0 && n < whole.size()) << n;
    ASSERT_TRUE(LoadFromBytes(saved));
    EXPECT_EQ(AllFields(), fields) << n;
    WriteBytes(path, whole.substr(0, n));
    DatabaseLoadReport report;
    NarrowStringClass error;
    ASSERT_TRUE(LoadDatabaseFile(path.c_str(), &report, &error, LoadedParts::kTextsOnDemand, 3)) << n;
    EXPECT_EQ(Contents(), contents[0]) << n;
    EXPECT_EQ(report.Damaged, damage[0].rfind("no damage", 0) != 0) << n;
  }
  // A load that leaves the texts out: the database knows, and refuses to be saved.
  ASSERT_TRUE(LoadFromBytes(whole, nullptr, LoadedParts::kWithoutTexts));
  EXPECT_FALSE(TranslateDBClass::HasTexts());
  NarrowStringClass error;
  EXPECT_FALSE(CheckDatabaseSaveable(&error));
  EXPECT_STREQ(error.Chars(), "the database was loaded without its texts");
}

// Texts left in the loaded bytes are counted at once, read on first use, kept when another text
// changes, and stay readable in a copy after the database lets go of the bytes.
TEST_F(DatabaseFile, TextsOnDemand) {
  ASSERT_TRUE(LoadFromBytes(TwoStrings(3, u"\u00e9t\u00e9"), nullptr, LoadedParts::kTextsOnDemand));
  EXPECT_TRUE(TranslateDBClass::HasTexts());
  TDBStringClass* s = TranslateDBClass::GetObject(0);
  EXPECT_EQ(s->GetTextCount(), 4);
  UnicodeStringClass wide;
  NarrowStringClass narrow;
  EXPECT_EQ(s->PeekText(3, wide), u"\u00e9t\u00e9");
  EXPECT_EQ(s->PeekText(9, wide), u"Alpha");  // beyond the texts: text 0
  EXPECT_STREQ(s->PeekEnglishText(narrow).Chars(), "Alpha");
  TDBStringClass* copy = s->Clone();
  ASSERT_TRUE(s->SetText(1, u"Alfa"));
  EXPECT_EQ(Fields(0), "1000 IDS_A [Alpha] -1 1 :Alpha|Alfa||\u00e9t\u00e9");
  std::string edited = SaveToBytes();
  ASSERT_TRUE(LoadFromBytes(edited));
  EXPECT_EQ(SaveToBytes(), edited);
  TranslateDBClass::ClearDatabase();
  EXPECT_EQ(copy->GetText(3), u"\u00e9t\u00e9");
  EXPECT_EQ(copy->GetText(1), u"");
  delete copy;
  // Without texts in the file, text 0 is the English text.
  std::string english_only = Envelope(0x00090001, Chunk(0x0614110A, std::string("Only\0", 5)));
  ASSERT_TRUE(
      LoadFromBytes(Database(Chunk(0x07141201, english_only, true)), nullptr, LoadedParts::kTextsOnDemand));
  EXPECT_EQ(TranslateDBClass::GetObject(0)->GetTextCount(), 1);
  EXPECT_EQ(TranslateDBClass::GetObject(0)->PeekText(0, wide), u"Only");
}

// The units of a span up to its end or its first 0 unit.
std::u16string SpanText(const TextSpan& span) {
  std::u16string out;
  const auto* bytes = static_cast<const unsigned char*>(span.Units);
  for (size_t i = 0; i < span.Length; ++i) {
    char16_t c = span.Kind == TextSpan::kNarrow ? bytes[i]
                 : span.Kind == TextSpan::kWide ? static_cast<const char16_t*>(span.Units)[i]
                                                : static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    if (c == 0) break;
    out += c;
  }
  return out;
}

// Texts still in the loaded bytes are looked at where they stand when they are chunks in a row,
// and read otherwise: a text among the fields after them, a chunk between texts, English texts after the
// texts (the last counts), a text cut by damage; payloads without a terminator, with a 0 inside
// or an odd byte; without texts, text 0 is the English text, a character per byte.
TEST_F(DatabaseFile, TextSpansAreTheTextsWhereTheyStand) {
  auto wide = [](const std::u16string& text) {
    std::string bytes;
    for (char16_t c : text) bytes += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
  };
  const std::string text = Word32(0x0614110B);
  std::string strings;
  for (const std::string& data :
       {Chunk(0x0614110A, std::string("Alpha\0", 6)) + Chunk(0x0614110B, wide(u"Alpha")) +
            Chunk(0x0614110B, wide(std::u16string(u"B\u00e9ta\0", 5))),
        Chunk(0x0614110B, wide(u"One")) + Chunk(0x06141108, Micro(0x03, wide(u"Field"))),
        Chunk(0x0614110B, wide(u"One")) + Chunk(0x1234, "x") + Chunk(0x0614110B, wide(u"Two")) +
            Chunk(0x0614110A, "First") + Chunk(0x0614110A, "Last"),
        Chunk(0x0614110B, wide(std::u16string(u"ab\0cd", 5))) + Chunk(0x0614110B, wide(u"odd") + "x"),
        Chunk(0x0614110A, "Caf\xe9"), Chunk(0x0614110B, wide(u"Whole")) + text + Word32(100) + wide(u"cut")})
    strings += Envelope(0x00090001, data);
  ASSERT_TRUE(
      LoadFromBytes(Database(Chunk(0x07141201, strings, true)), nullptr, LoadedParts::kTextsOnDemand));
  const char16_t* expected[][3] = {{u"Alpha", u"B\u00e9ta", u"Alpha"},
                                   {u"One", u"Field", u""},
                                   {u"One", u"Two", u"Last"},
                                   {u"ab", u"odd", u""},
                                   {u"Caf\u00e9", u"Caf\u00e9", u"Caf\u00e9"},
                                   {u"Whole", u"cut", u""}};
  const TextSpan::Form kinds[] = {TextSpan::kWideLE, TextSpan::kWide,   TextSpan::kWide,
                                  TextSpan::kWideLE, TextSpan::kNarrow, TextSpan::kWide};
  UnicodeStringClass scratch;
  NarrowStringClass narrow;
  for (int slot = 0; slot < 6; ++slot) {
    TDBStringClass* s = TranslateDBClass::GetObject(slot);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->PeekTextSpan(0, scratch).Kind, kinds[slot]) << slot;
    EXPECT_EQ(SpanText(s->PeekTextSpan(0, scratch)), expected[slot][0]) << slot;
    EXPECT_EQ(SpanText(s->PeekTextSpan(1, scratch)), expected[slot][1]) << slot;
    EXPECT_EQ(SpanText(s->PeekTextSpan(7, scratch)), expected[slot][0]) << slot;
    EXPECT_EQ(SpanText(s->PeekEnglishSpan(narrow)), expected[slot][2]) << slot;
  }
  UnicodeStringClass none;
  EXPECT_TRUE(TranslateDBClass::GetObject(0)->PeekTextSpan(1, none).ContainsNoCase(u"b\u00e9TA", 4));
  EXPECT_FALSE(TranslateDBClass::GetObject(0)->PeekTextSpan(1, none).ContainsNoCase(u"B\u00c9TA", 4));
  EXPECT_TRUE(TranslateDBClass::GetObject(4)->PeekTextSpan(0, none).ContainsNoCase(u"CAF\u00e9", 4));
  EXPECT_FALSE(TranslateDBClass::GetObject(4)->PeekTextSpan(0, none).ContainsNoCase(u"CAF\u00c9", 4));
  EXPECT_FALSE(TranslateDBClass::GetObject(3)->PeekTextSpan(0, none).ContainsNoCase(u"cd", 2));
  EXPECT_TRUE(none.IsEmpty());  // nothing was read
}

TEST_F(DatabaseFile, SaveRefusesOverlongFields) {
  TempFolder folder;
  std::string path = folder / "strings.tdb";
  WriteBytes(path, "old contents");
  TranslateDBClass::Initialize();
  TranslateDBClass::AddObject(NewString(1000, std::string(255, 'X').c_str()));
  NarrowStringClass error;
  EXPECT_FALSE(SaveDatabaseFile(path.c_str(), &error));
  EXPECT_NE(std::string(error.Chars()).find("string 1000"), std::string::npos) << error.Chars();
  EXPECT_NE(std::string(error.Chars()).find("symbolic ID is 255 bytes long"), std::string::npos)
      << error.Chars();
  EXPECT_EQ(ReadBytes(path), "old contents");
  // The chunk writer itself refuses the field as well.
  MemoryFileClass memory;
  ChunkWriterClass writer(&memory);
  EXPECT_FALSE(SaveDatabase(writer));

  TranslateDBClass::GetObject(0)->SetIDString(std::string(254, 'X').c_str());
  TranslateDBClass::GetCategory(0)->Name = std::string(300, 'n').c_str();
  EXPECT_FALSE(SaveDatabaseFile(path.c_str(), &error));
  EXPECT_NE(std::string(error.Chars()).find("category 1: name is 300 bytes long"), std::string::npos);
  TranslateDBClass::GetCategory(0)->Name = "Default";
  TranslateDBClass::GetObject(0)->SetAnimationName(std::string(254, 'a').c_str());
  ASSERT_TRUE(SaveDatabaseFile(path.c_str(), &error)) << error.Chars();
  DatabaseLoadReport report;
  ASSERT_TRUE(LoadDatabaseFile(path.c_str(), &report, &error));
  EXPECT_FALSE(report.Damaged);
  EXPECT_EQ(TranslateDBClass::GetObject(0)->GetAnimationName().Length(), 254);
}

TEST_F(DatabaseFile, LoadReport) {
  TempFolder folder;
  NarrowStringClass error;
  DatabaseLoadReport report;
  EXPECT_FALSE(LoadDatabaseFile((folder / "missing.tdb").c_str(), &report, &error));
  EXPECT_EQ(std::string(error.Chars()).rfind(folder / "missing.tdb: ", 0), 0u);
  EXPECT_FALSE(LoadDatabaseFile(folder.path().c_str(), &report, &error));  // a folder
  EXPECT_EQ(Categories(), "1 Default");

  // Both objects of a duplicate ID are kept, the second under the next free ID.
  auto object = [](const char* name) {
    return Envelope(0x00090001,
                    Chunk(0x06141108, Micro(0x01, Int(1000)) + Micro(0x02, name + std::string(1, 0))));
  };
  WriteBytes(folder / "dup.tdb",
             Chunk(0x4242, "x") + Database(Chunk(0x07141201, object("FIRST") + object("SECOND"), true)));
  DatabaseLoadReport second;
  TranslateDBClass::ReleaseObjectTable();
  ASSERT_TRUE(LoadDatabaseFile((folder / "dup.tdb").c_str(), &second, &error));
  EXPECT_EQ(Fields(0) + " / " + Fields(1), "1000 FIRST [] -1 0 : / 1001 SECOND [] -1 0 :");
  EXPECT_EQ(TranslateDBPeer::ObjectCapacity(), 2);  // sized once for what the file holds
  EXPECT_FALSE(second.Damaged);
  EXPECT_EQ(second.PassedChunkCount, 1);
  ASSERT_EQ(second.PassedChunks.Count(), 1);
  EXPECT_STREQ(second.PassedChunks[0].Chars(), "chunk 0x00004242 at offset 0");
  ASSERT_EQ(second.IDChanges.Count(), 1);
  EXPECT_STREQ(second.IDChanges[0].Chars(),
               "string ID 1000 occurs more than once; one of them now has ID 1001");

  WriteBytes(folder / "empty.tdb", "");
  DatabaseLoadReport third;
  ASSERT_TRUE(LoadDatabaseFile((folder / "empty.tdb").c_str(), &third, &error));
  EXPECT_FALSE(third.HasDatabase);
  EXPECT_FALSE(third.Damaged);
}

// Strings with texts in several languages, an animation name and three categories.
void FillSample() {
  TranslateDBClass::Initialize();
  TranslateDBClass::AddCategoryNamed("A category name longer than a pooled one");
  TranslateDBClass::AddCategoryNamed("Menus");
  for (int i = 0; i < 6; ++i) {
    TDBStringClass* s =
        NewString(0, ("IDS_STRING_NUMBER_" + std::to_string(i)).c_str(), u"English text", 1 + i % 3);
    s->SetText(2, u"\u00e9t\u00e9 \u4e2d\u6587");
    s->SetAnimationName("wave");
    TranslateDBClass::AddObject(s);
  }
}

TEST_F(DatabaseFile, SaveSurvivesEveryDiskAndMemoryFailure) {
  TempFolder folder;
  FillSample();
  fault_sweep::ExpectSafeReplacement(
      folder / "strings.tdb", [](const char* path, NarrowStringClass* error, platform::DiskInterface& disk) {
        return SaveDatabaseFile(path, error, nullptr, disk);
      });
}

// Each run either loads the whole database or reports the failure (or the damage it saw); a
// failed allocation is a failure, never mistaken for damage.
TEST_F(DatabaseFile, LoadSurvivesEveryDiskAndMemoryFailure) {
  TempFolder folder;
  std::string path = folder / "strings.tdb";
  FillSample();
  ASSERT_TRUE(SaveDatabaseFile(path.c_str(), nullptr));
  const std::string expected = SaveToBytes();
  NarrowStringClass error;
  bool damaged = false;
  LoadedParts parts = LoadedParts::kWhole;
  auto load = [&](platform::DiskInterface& disk) {
    DatabaseLoadReport report;
    TranslateDBClass::SetCurrentLanguage(5);
    bool ok = LoadDatabaseFile(path.c_str(), &report, &error, parts, 64, disk);
    damaged = report.Damaged;
    return ok;
  };
  auto check = [&](const std::string& where, bool ok) {
    if (ok && !damaged) {
      EXPECT_EQ(SaveToBytes(), expected) << where;
    }
    EXPECT_TRUE(ok ? !damaged || where.rfind("allocation", 0) != 0 : !error.IsEmpty()) << where;
    if (!ok) {  // as Initialize leaves an empty database, with the language it had
      EXPECT_EQ(TranslateDBClass::GetObjectCount(), 0) << where;
      EXPECT_LE(TranslateDBClass::GetCategoryCount(), 1) << where;
      EXPECT_EQ(TranslateDBClass::GetCurrentLanguage(), 5) << where;
      EXPECT_TRUE(TranslateDBClass::HasTexts()) << where;
    }
    error.Release();
    TranslateDBClass::ClearDatabase();
    TranslateDBClass::ClearIDChanges();
  };
  // Read whole, the file comes in pieces of 64 bytes.
  for (LoadedParts each : {LoadedParts::kWhole, LoadedParts::kTextsOnDemand}) {
    parts = each;
    EXPECT_GT(fault_sweep::Disk(fault_sweep::kReading, load, check), 0);
    TranslateDBClass::ClearDatabase();
    EXPECT_GT(fault_sweep::Allocations([&] { return load(platform::SystemDisk()); }, check),
              each == LoadedParts::kWhole ? 40 : 30);
  }
  // A file that ends before its size while it is read whole (it changed: here after its first
  // 100 bytes, two pieces and a part) is read again.
  struct EndingDisk : platform::FaultDisk {
    int Read(platform::Handle h, void* buffer, int size) override {
      ++calls;
      if (calls == 2 || calls == 3) return 0;
      return FaultDisk::Read(h, buffer, calls == 1 && size > 100 ? 100 : size);
    }
    int calls = 0;
  } ending;
  ASSERT_TRUE(load(ending));
  EXPECT_FALSE(damaged);
  EXPECT_GT(ending.calls, 3);
  check("file ending early", true);
  // Reads that return 3 bytes at a time, on the thread that fills the bytes while they are walked,
  // load the same database as one piece.
  platform::FaultDisk split;
  split.max_read = 3;
  ASSERT_TRUE(load(split));
  EXPECT_FALSE(damaged);
  EXPECT_GT(split.reads, 200);
  check("reads of 3 bytes", true);
}

// A database larger than the write-back window saves to the same bytes as in memory.
using LargeSave = DatabaseTest;

TEST_F(LargeSave, SameBytesAsInMemory) {
  TranslateDBClass::Initialize();
  for (int i = 0; i < 8000; ++i) {
    TDBStringClass* s =
        NewString(0, ("IDS_" + std::to_string(i)).c_str(), u"Some English text for the window");
    s->SetText(3, u"\u00e9t\u00e9 \u4e2d\u6587 and a little more text");
    TranslateDBClass::AddObject(s);
  }
  std::string memory = SaveToBytes();
  ASSERT_GT(memory.size(), 2u * WriteBackFileClass::kWindowBytes);
  TempFolder folder;
  NarrowStringClass error;
  ASSERT_TRUE(SaveDatabaseFile((folder / "big.tdb").c_str(), &error)) << error.Chars();
  EXPECT_EQ(ReadBytes(folder / "big.tdb"), memory);
}

}  // namespace
