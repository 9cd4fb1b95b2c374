#include "tdb/exchange/po.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testing/fault_disk.h"
#include "common/testing/fault_sweep.h"
#include "common/testing/temp_folder.h"
#include "tdb/exchange/c_format.h"
#include "tdb/exchange/po_import.h"
#include "tdb/exchange/po_writer.h"
#include "tdb/exchange/testing/translation_files.h"

namespace {

class Po : public TranslationTest {
 protected:
  static std::string Export(int language) {
    PoExportOptions options;
    options.Language = language;
    options.LanguageCode = language ? "de" : "";
    options.Project = "strings.tdb";
    options.Generator = "tdbtool 9";
    ByteBuilder out;
    WritePo(out, options);
    EXPECT_FALSE(out.ErrorCode());
    return std::string(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size()));
  }
  static Applied Apply(const std::string& po, int language = 1, bool fuzzy = false, const char* code = "",
                       bool mismatch = false) {
    PoImportOptions options;
    options.Language = language;
    options.Fuzzy = fuzzy;
    options.LanguageCode = code;
    options.LanguageMismatch = mismatch;
    return ApplyFile(ApplyPo, po, "in.po", options);
  }
  static std::string Entry(const std::string& key, const std::string& id, const std::string& str) {
    return "msgctxt \"" + key + "\"\nmsgid \"" + id + "\"\nmsgstr \"" + str + "\"\n\n";
  }
};

TEST_F(Po, ExportWritesHeaderThenStringsInCategoryOrder) {
  TranslateDBClass::AddCategoryNamed("Default");
  TranslateDBClass::AddCategoryNamed("Men\xfc");
  auto* again = new StringCategoryClass;
  again->ID = 2;
  again->Name = "Again";
  TranslateDBClass::AddCategory(again);
  Add(1003, "IDS_LOST", u"Lost", 9);
  Add(1002, "", u"Two\nlines\n", 2)->SetText(1, u"Zwei\nZeilen\n");
  Add(1000, "IDS_OK", u"OK \"q\" \\ \t\x01")->SetText(2, u"not this language");
  Add(1001, "IDS_OK", u"\U0001F3AE")->SetText(1, u"Gut");
  const std::string header =
      "msgid \"\"\nmsgstr \"\"\n\"Project-Id-Version: strings.tdb\\n\"\n\"PO-Revision-Date: \\n\"\n"
      "\"Last-Translator: \\n\"\n\"Language-Team: \\n\"\n\"Language: de\\n\"\n\"X-Tdb-Language: 1\\n\"\n"
      "\"MIME-Version: 1.0\\n\"\n"
      "\"Content-Type: text/plain; charset=UTF-8\\n\"\n\"Content-Transfer-Encoding: 8bit\\n\"\n"
      "\"X-Generator: tdbtool 9\\n\"\n";
  EXPECT_EQ(Export(1),
            header +
                "\n#. ID 1000, symbolic ID IDS_OK\n#. Category: Default\nmsgctxt \"1000 IDS_OK\"\n"
                "msgid \"OK \\\"q\\\" \\\\ \\t\\001\"\nmsgstr \"\"\n"
                "\n#. ID 1001, symbolic ID IDS_OK\n#. Category: Default\nmsgctxt \"1001 IDS_OK\"\n"
                "msgid \"\U0001F3AE\"\nmsgstr \"Gut\"\n"
                "\n#. ID 1002, no symbolic ID\n#. Category: Men\u00fc\nmsgctxt \"1002\"\n"
                "msgid \"\"\n\"Two\\n\"\n\"lines\\n\"\nmsgstr \"\"\n\"Zwei\\n\"\n\"Zeilen\\n\"\n"
                "\n#. ID 1003, symbolic ID IDS_LOST\n#. Category: none (ID 9)\nmsgctxt \"1003 IDS_LOST\"\n"
                "msgid \"Lost\"\nmsgstr \"\"\n");
  std::string pot = Export(0);
  EXPECT_NE(pot.find("\"Language: \\n\"\n\"MIME"), std::string::npos);
  EXPECT_EQ(pot.find("Gut"), std::string::npos);
  EXPECT_EQ(pot.find("Zwei"), std::string::npos);
}

TEST_F(Po, EveryTextSurvivesTheRoundTrip) {
  const std::vector<std::u16string> texts = {u"Line\nfeed\n",
                                             u"\n",
                                             u"\ttabs\t",
                                             u"\"quotes\" and \\backslashes\\",
                                             u"  leading and trailing  ",
                                             u"\U0001F3AE outside the BMP \U0001F600",
                                             u"\x01\x7f\r\a\b\f\v\x1b controls",
                                             u"no line feed\nat the end",
                                             u"\u00dcml\u00e4ute \u4e2d",
                                             u"?'"};
  for (size_t i = 0; i < texts.size(); ++i) {
    // Symbolic IDs that repeat or are empty; English texts as odd as the translations.
    const char* symbolic = i % 3 == 0 ? "IDS_SAME" : i % 3 == 1 ? "" : "ids same \"\\";
    Add(1000 + static_cast<int>(i), symbolic, texts[texts.size() - 1 - i].c_str())
        ->SetText(3, texts[i].c_str());
  }
  std::string po = Export(3);
  for (size_t i = 0; i < texts.size(); ++i) TranslateDBClass::GetObject(static_cast<int>(i))->SetText(3, u"");
  Applied first = Apply(po, 3);
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_EQ(first.report.Applied, static_cast<int>(texts.size()));
  EXPECT_TRUE(first.warnings.empty());
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(Text(1000 + static_cast<int>(i), 3), texts[i]) << i;
  Applied again = Apply(po, 3);
  EXPECT_EQ(again.report.Applied, 0);
  EXPECT_EQ(again.report.Unchanged, static_cast<int>(texts.size()));
}

TEST_F(Po, ReadsEveryFormOfPoSyntax) {
  struct Case {
    std::string po;
    std::u16string text;  // language 1 of string 1000 afterwards
    bool fuzzy = false;   // with --fuzzy
  };
  const std::string key = "msgctxt \"1000 IDS_A\"\nmsgid \"A\"\n";
  const std::vector<Case> cases = {
      {key + "msgstr \"x\"", u"x"},
      {"msgctxt \"1000 \" \"IDS_A\"\nmsgid \"\"\n\"A\"\n\nmsgstr \"\"\n\"li\\n\"\n   \"ne\"  \n", u"li\nne"},
      {key + "msgstr \"\\t\\\"\\\\\\a\\b\\f\\v\\r\\?\\'\\101\\x42\\303\\251\\xc3\\xA9\\1010\"",
       u"\t\"\\\a\b\f\v\r?'AB\u00e9\u00e9A0"},
      {key + "msgstr\n\"y\"", u"y"},
      {"\xEF\xBB\xBFmsgctxt \"1000 IDS_A\"\r\nmsgid \"A\"\r\nmsgstr \"crlf\"\r\n", u"crlf"},
      {"# translator\n#. extracted\n#: file.c:12\n#, c-format\n#| msgid \"old\"\n#\n" + key + "msgstr \"c\"",
       u"c"},
      {"#, c-format, fuzzy\n" + key + "msgstr \"f\"", u"<none>"},
      {"#,fuzzy\n" + key + "msgstr \"f\"", u"f", true},
      {"#, fuzzy\n#~ msgctxt \"1000 IDS_A\"\n#~ msgid \"A\"\n#~ msgstr \"old\"\n" + key + "msgstr \"z\"",
       u"z"},
      {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CHARSET\\n\"\n\n" + key + "msgstr \"h\"",
       u"h"},
      {key + "msgstr \"\"", u"<none>"},
  };
  for (const Case& c : cases) {
    Reset();
    Add(1000, "IDS_A", u"A");
    Applied result = Apply(c.po, 1, c.fuzzy);
    EXPECT_TRUE(result.ok) << c.po << "\n" << result.error;
    EXPECT_EQ(Text(1000, 1), c.text) << c.po;
  }
}

// A file exported for another language is refused unless that is meant; a file that names no
// language is taken.
TEST_F(Po, TheHeaderLanguageMustBeTheImportsLanguage) {
  Add(1000, "IDS_A", u"A");
  auto file = [](const std::string& fields) {
    return "msgid \"\"\nmsgstr \"" + fields + "\"\n\n" + Entry("1000 IDS_A", "A", "x");
  };
  const std::string german = file("Language: de\\nX-Tdb-Language: 2\\n");
  Applied refused = Apply(german, 1);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error,
            "in.po:1: the file holds language 2 (X-Tdb-Language: 2), not language 1 as --language says; "
            "--language-mismatch imports it all the same");
  EXPECT_EQ(Apply(german, 2, false, "fr").error,
            "in.po:1: the file is in language de (Language: de), not fr as --language-code says; "
            "--language-mismatch imports it all the same");
  EXPECT_EQ(Apply(file("x-tdb-language:  two \\n"), 1).error,
            "in.po:1: X-Tdb-Language: \"two\" is no language index");
  EXPECT_EQ(Text(1000, 1), u"<none>");
  EXPECT_EQ(Apply(german, 1, false, "fr", true).report.Applied, 1);
  for (const std::string& po : {file("Language: DE-ch\\n"), Entry("1000 IDS_A", "A", "y")}) {
    Applied taken = Apply(po, 3, false, "de_CH");
    EXPECT_TRUE(taken.ok && taken.report.Applied == 1) << po << taken.error;
  }
  EXPECT_FALSE(Apply(file("Language: de\\n"), 3, false, "de_CH").ok);
}

// Converters that drop msgctxt keep the comment that names the string: it is the key then, but
// only as the export wrote it.
TEST_F(Po, AnEntryWithoutContextIsKeyedByItsIdComment) {
  Add(1000, "IDS_A", u"A");
  Add(1001, "", u"B");
  Add(1002, "IDS_C", u"C");
  std::string po = Export(1);
  for (size_t at; (at = po.find("msgctxt")) != std::string::npos;) po.erase(at, po.find('\n', at) - at + 1);
  for (size_t at = 0; (at = po.find("msgstr \"\"\n\n", at)) != std::string::npos;)
    po.replace(at, 9, "msgstr \"T\"");
  po += "\n#. Category: x\n#. ID 1002, symbolic ID IDS_X\nmsgid \"C\"\nmsgstr \"T\"\n";
  po += "\n#. ID 1003, no symbolic ID\nmsgid \"D\"\nmsgstr \"T\"\n";
  po += "\n#. a note\nmsgid \"E\"\nmsgstr \"T\"\n";
  Applied result = Apply(po);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(Text(1000, 1), u"T");
  EXPECT_EQ(Text(1001, 1), u"T");
  EXPECT_EQ(
      result.warnings,
      (std::vector<std::string>{
          "in.po:31: string 1002 is \"IDS_C\" now, not what its \"#. ID\" comment says; skipped",
          "in.po:35: no string 1003 in the database (\"#. ID\" comment); skipped",
          "in.po:39: an entry without msgctxt and without an \"#. ID\" comment names no string; skipped"}));
}

TEST(CFormat, ConversionsAsPrintfAndGettextSeeThem) {
  auto has = [](std::u16string text) { return HasCFormat(text.data(), static_cast<int>(text.size())); };
  auto same = [](std::u16string a, std::u16string b) {
    return SameCFormat(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
  };
  for (const char16_t* text : {u"%d", u"%%", u"a %5.2f b", u"%-8ls", u"%I64d", u"%.*s"})
    EXPECT_TRUE(has(text));
  for (const char16_t* text : {u"100% sure", u"50 %", u"%y", u"plain"}) EXPECT_FALSE(has(text));
  EXPECT_TRUE(same(u"%5.2f%% of %d", u"%f %% de %i"));
  EXPECT_TRUE(same(u"50% off", u"50 % de r\u00e9duction"));
  EXPECT_TRUE(same(u"%y", u"%y"));
  int pair = 0;
  for (auto [a, b] : {std::pair{u"%d %s", u"%s %d"},
                      {u"%d", u"%1$d"},
                      {u"%ls", u"%S"},
                      {u"%*d", u"%d"},
                      {u"%d", u"%d %d"},
                      {u"%x", u"%d"},
                      {u"%s", u"%y"}}) {
    ++pair;
    EXPECT_FALSE(same(a, b)) << "pair " << pair;
  }
}

TEST_F(Po, MalformedFilesAreRefusedWithTheLineAndChangeNothing) {
  // Each case follows a valid entry of four lines, so the line numbers start at 5.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"msgid \"A\"", "5: the entry has no msgstr"},
      {"msgstr \"x\"", "5: msgstr without msgid"},
      {"msgctxt \"1\"\nmsgctxt \"2\"", "6: msgctxt inside an entry"},
      {"msgid \"A\"\nmsgid \"B\"", "6: msgid inside an entry"},
      {"msgid \"A\"\n# note\nmsgstr \"x\"", "6: a comment inside an entry"},
      {"msgid \"A\nmsgstr \"x\"", "5: a string without its closing quote"},
      {"msgid \"A\" x", "5: text after a string"},
      {"# note\n\"x\"", "6: a string without msgid"},
      {"msgfoo \"x\"", "5: expected msgid, msgstr, msgctxt"},
      {"msgstr[x] \"a\"", "5: msgstr[ without a number"},
      {"msgid \"\\q\"", "5: unknown escape \\q"},
      {"msgid \"\\x\"", "5: \\x without hex digits"},
      {"msgid \"\\x100\"", "5: a hex escape beyond \\xff"},
      {"msgid \"ab\\400cd\"", "5: an octal escape beyond \\377"},
      {"msgid \"\\0\"", "5: an escaped zero character"},
      {"msgid \"A\\", "5: a backslash at the end of a line"},
      {"msgid \"\xff\"\nmsgstr \"x\"", "5: msgid is not valid UTF-8"},
      {"msgid \"A\"\nmsgid_plural \"As\"\nmsgstr \"x\"", "7: a plural entry needs msgstr[0]"},
      {"msgid \"A\"\nmsgstr[0] \"x\"", "6: msgstr[N] without msgid_plural"},
      {"msgid \"A\"\nmsgstr", "6: msgstr without a string"},
      {std::string("# a zero \0 byte", 15), "5: a zero byte"},
      {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"",
       "5: the header names charset ISO-8859-1"},
      {"msgid \"\"\nmsgstr \"\"\n\nmsgid \"\"\nmsgstr \"\"", "8: a second header entry"},
      {Entry("1000 IDS_A", "A", "again"), "5: a second entry for string 1000 (the first is at line 1)"},
  };
  for (const auto& [tail, error] : cases) {
    Reset();
    Add(1000, "IDS_A", u"A");
    Applied result = Apply(Entry("1000 IDS_A", "A", "first") + tail);
    EXPECT_FALSE(result.ok) << tail;
    EXPECT_EQ(result.error.rfind("in.po:" + error, 0), 0u) << result.error;
    EXPECT_EQ(Text(1000, 1), u"<none>") << tail;
  }
}

TEST_F(Po, ImportSkipsAndReportsWhatItCannotApply) {
  Add(1000, "IDS_A", u"A")->SetText(1, u"same");
  Add(1001, "IDS_B", u"B");
  Add(1002, "", u"C");
  Add(1003, "IDS_D", u"D");
  Add(1004, "IDS_E", u"E");
  std::string po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n" +
                   Entry("5000 IDS_A", "A", "x") + Entry("1001 IDS_X", "B", "x") + Entry("IDS_B", "B", "x") +
                   "msgid \"B\"\nmsgstr \"x\"\n\n" +
                   "msgctxt \"1001 IDS_B\"\nmsgid \"B\"\nmsgid_plural \"Bs\"\nmsgstr[0] \"x\"\n\n" +
                   Entry("1004 IDS_E", "old E", "x") + "#, fuzzy\n" + Entry("1001 IDS_B", "B", "fuzzy") +
                   Entry("1002", "C", "") + Entry("1000 IDS_A", "A", "same") +
                   Entry("1003 IDS_D", "D", "applied") +
                   "#, fuzzy\n#~ msgctxt \"1000 IDS_A\"\n#~ msgid \"A\"\n#~ msgstr \"obsolete\"\n";
  Applied result = Apply(po);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.report.Applied, 1);
  EXPECT_EQ(result.report.Unchanged, 2);
  EXPECT_EQ(result.report.Skipped, 7);
  EXPECT_EQ(result.report.Fuzzy, 1);
  EXPECT_EQ(
      result.warnings,
      (std::vector<std::string>{
          "in.po:4: no string 5000 IDS_A in the database; skipped",
          "in.po:8: string 1001 is \"IDS_B\" now, not \"IDS_X\"; skipped",
          "in.po:12: msgctxt \"IDS_B\" is not a key of this database (numeric ID, space, symbolic ID); "
          "skipped",
          "in.po:16: an entry without msgctxt and without an \"#. ID\" comment names no string; skipped",
          "in.po:19: a plural entry (msgid_plural); the database has no plural forms; skipped",
          "in.po:24: string 1004 \"IDS_E\": its English text changed since the export; skipped",
      }));
  EXPECT_EQ(Text(1001, 1), u"<none>");
  EXPECT_EQ(Text(1003, 1), u"applied");
  EXPECT_EQ(Text(1003, 0), u"D");

  EXPECT_EQ(Apply(po, 1, true).report.Applied, 1);  // the fuzzy entry
  EXPECT_EQ(Text(1001, 1), u"fuzzy");
  for (int language : {0, 256})
    EXPECT_EQ(Apply(po, language).error,
              "in.po: language " + std::to_string(language) + " is outside 1 to 255");
}

TEST_F(Po, FileFailuresLeaveTheDatabaseAndTheOldFile) {
  TempFolder dir;
  Add(1000, "IDS_A", u"A");
  fault_sweep::ExpectSafeReplacement(
      dir / "old.po", [](const char* path, NarrowStringClass* error, platform::DiskInterface& disk) {
        return ExportPo(path, PoExportOptions(), error, disk);
      });

  std::string path = dir / "in.po";
  WriteBytes(path, Entry("1000 IDS_A", "A", "x"));
  PoImportOptions options;
  NarrowStringClass error;
  for (int step = 0; step < 2; ++step) {
    platform::FaultDisk disk;
    (step == 0 ? disk.fail_open : disk.fail_read) = 1;
    EXPECT_FALSE(ImportPo(path.c_str(), options, nullptr, nullptr, &error, disk));
    EXPECT_EQ(std::string(error.Chars()), path + ": " + sys::Text(sys::kIoError));
  }
  EXPECT_FALSE(ImportPo((dir / "missing.po").c_str(), options, nullptr, nullptr, &error));
  EXPECT_EQ(std::string(error.Chars()), (dir / "missing.po: ") + sys::MissingFile());
  EXPECT_EQ(Text(1000, 1), u"<none>");

  // Memory that runs out at any allocation fails the import with its reason and leaks nothing;
  // texts applied before it stay in memory (tdbtool then does not save).
  std::string po = ReadBytes(path);
  error.Release();
  fault_sweep::Allocations(
      [&] { return ApplyPo(po.data(), po.size(), "in.po", options, nullptr, nullptr, &error); },
      [&](const std::string& where, bool ok) {
        EXPECT_EQ(std::string(error.Chars()), ok ? "" : "in.po: out of memory") << where;
        if (ok) {
          EXPECT_EQ(Text(1000, 1), u"x");
        }
        error.Release();
        TranslateDBClass::ClearDatabase();
        Add(1000, "IDS_A", u"A");
      });
}

}  // namespace
