// End-to-end tests of tdbtool: the built program is run on files made here.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "common/file_lock.h"
#include "common/testing/fault_disk.h"
#include "common/testing/fault_sweep.h"
#include "common/testing/run_program.h"
#include "common/testing/system.h"
#include "common/testing/temp_folder.h"
#include "tdb/testing/database_fixture.h"
#include "tdbtool/commands.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace {

using nlohmann::json;

class Tdbtool : public DatabaseTest {
 protected:
  // Runs tdbtool on the words split at spaces (a word starting with '@' names a file in the test
  // folder), expects the exit code and a standard error that holds err; returns standard output.
  std::string Run(std::initializer_list<std::string> words, int code, const std::string& err = "") {
    std::vector<std::string> args;
    for (const std::string& w : words) {
      if (w[0] == '@') {
        args.push_back(Path(w.substr(1)));
        continue;
      }
      for (size_t at = 0, end; at < w.size(); at = end + 1) {
        end = std::min(w.find(' ', at), w.size());
        args.push_back(w.substr(at, end - at));
      }
    }
    ProgramResult result = RunProgram(TDBTOOL_PATH, args);
    EXPECT_EQ(result.exit_code, code) << testing::PrintToString(args) << "\n" << result.err;
    EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
    return result.out;
  }
  std::string Path(const std::string& name) { return dir / name; }
  void Save(const std::string& name) {
    NarrowStringClass error;
    ASSERT_TRUE(SaveDatabaseFile(Path(name).c_str(), &error)) << error.Chars();
  }
  static TDBStringClass* String(int id, const char* idString, const char16_t* text, int category = 1) {
    TDBStringClass* s = NewString(id, idString, text, category);
    TranslateDBClass::AddObject(s);
    return s;
  }

  TempFolder dir;
};

TEST_F(Tdbtool, HelpVersionUsageAndNew) {
  std::string help = Run({"--help"}, 0);
  for (const char* command : {"new", "dump", "export-header", "export-table", "import-table", "export-po",
                              "import-po", "export-xliff", "import-xliff", "check", "stats"})
    EXPECT_NE(help.find(command), std::string::npos) << command;
  EXPECT_EQ(Run({"--version"}, 0).rfind("tdbtool ", 0), 0u);
  for (auto words : {"", "dump", "frobnicate x", "new a b"}) Run({words}, 2);

  Run({"new", "@new.tdb"}, 0);
  EXPECT_EQ(json::parse(Run({"dump", "@new.tdb"}, 0))["categories"][0]["name"], "Default");
  Run({"new", "@missing/folder/new.tdb"}, 1, Path("missing/folder/new.tdb") + ": ");
}

TEST_F(Tdbtool, DumpWritesTheWholeDatabase) {
  TranslateDBClass::Initialize();
  TranslateDBClass::AddCategoryNamed("Men\xfcs");
  TranslateDBClass::SetVersion(7);
  TDBStringClass* later = String(1003, "IDS_LATER", u"Later", 2);
  later->SetSoundID(12);
  later->SetAnimationName("wave\xe9");
  const char16_t lone[] = {u'a', 0xD800, u'b', 0};
  later->SetText(2, lone);
  String(1000, "IDS_FIRST", u"First \u4e2d");  // no narrow form: "english" stays empty
  Save("in.tdb");
  EXPECT_EQ(json::parse(Run({"dump", "@in.tdb"}, 0)), json::parse(R"({"version": 7, "language": 0,
    "categories": [{"id": 1, "name": "Default"}, {"id": 2, "name": "Men\u00fcs"}],
    "strings": [{"id": 1000, "idString": "IDS_FIRST", "soundId": -1, "categoryId": 1, "animation": "",
                 "english": "", "texts": ["First \u4e2d"]},
                {"id": 1003, "idString": "IDS_LATER", "soundId": 12, "categoryId": 2,
                 "animation": "wave\u00e9", "english": "Later", "texts": ["Later", "", "a\ufffdb"]}]})"));
}

TEST_F(Tdbtool, DamagedFilesAreRefusedUnlessSalvaged) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_A", u"Alpha");
  Save("whole.tdb");
  std::string whole = ReadBytes(Path("whole.tdb"));
  WriteBytes(Path("cut.tdb"), whole.substr(0, whole.size() - 5));
  EXPECT_EQ(Run({"dump", "@cut.tdb"}, 1,
                Path("cut.tdb") + ": the file is damaged: a chunk claims more bytes than its parent or the "
                                  "file holds (at offset 0)"),
            "");
  std::string salvaged = Run({"dump", "--salvage", "@cut.tdb"}, 0, "warning");
  EXPECT_EQ(json::parse(salvaged)["categories"][0]["name"], "Default");

  WriteBytes(Path("unknown.tdb"), std::string("\x42\x42\0\0\x02\0\0\0xy", 10) + whole);
  Run({"dump", "@unknown.tdb"}, 0, "passed over unknown chunk 0x00004242 at offset 0");
  WriteBytes(Path("empty.tdb"), "");
  Run({"dump", "@empty.tdb"}, 1, Path("empty.tdb") + ": the file holds no string database");
  Run({"dump", "@missing.tdb"}, 1, Path("missing.tdb") + ": " + sys::MissingFile());
}

TEST_F(Tdbtool, CheckListsProblems) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_OK", u"Fine");
  Save("clean.tdb");
  EXPECT_EQ(Run({"check", "@clean.tdb"}, 0), "");
  String(1002, "IDS_LOST", u"Lost", 5);
  Save("bad.tdb");
  EXPECT_EQ(Run({"check", "@bad.tdb"}, 1), "string 1002 \"IDS_LOST\": category 5 does not exist\n");

  // The translations: one fault a line, or JSON; the figures per language.
  EXPECT_EQ(Run({"check", "--translations", "@clean.tdb"}, 0), "");
  TranslateDBClass::GetObject(0)->SetText(2, u"%d");
  Save("faults.tdb");
  EXPECT_EQ(Run({"check", "--translations", "@faults.tdb"}, 1),
            "string 1000 \"IDS_OK\": language 1: no translation (empty)\n"
            "string 1000 \"IDS_OK\": language 2: the printf conversions differ from the English text's\n"
            "string 1002 \"IDS_LOST\": language 1: no translation (empty)\n"
            "string 1002 \"IDS_LOST\": language 2: no translation (empty)\n");
  EXPECT_EQ(
      json::parse(Run({"check", "--translations", "--json", "--language", "2", "@faults.tdb"}, 1)),
      json::parse(R"js({"problems": [{"id": 1000, "idString": "IDS_OK", "language": 2, "problem": "printf",
        "message": "the printf conversions differ from the English text's", "english": "Fine", "text": "%d"},
        {"id": 1002, "idString": "IDS_LOST", "language": 2, "problem": "empty", "message": "no translation (empty)",
         "english": "Lost", "text": ""}]})js"));
  Run({"check", "--json", "@faults.tdb"}, 2, "--json requires --translations");
  EXPECT_EQ(Run({"stats", "@faults.tdb"}, 0),
            "2 strings with an English text\n"
            "language 1: 0 translated, 0 the same as English, 2 empty; 2 English words to translate\n"
            "language 2: 1 translated, 0 the same as English, 1 empty; 1 English words to translate\n");
  EXPECT_EQ(json::parse(Run({"stats", "--json", "@clean.tdb"}, 0)),
            json::parse(R"({"strings": 1, "languages": []})"));
}

TEST_F(Tdbtool, ExportsAndImportRoundTrip) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_HELLO", u"Hello")->SetText(1, u"Hallo \u00fc");
  Save("in.tdb");
  Run({"export-header", "@in.tdb", "@ids.h"}, 0);
  EXPECT_NE(ReadBytes(Path("ids.h")).find("#define IDS_HELLO\t\t1000\r\n"), std::string::npos);
  Run({"export-table", "@in.tdb", "@table.txt"}, 0);
  Run({"import-table", "@table.txt", "@back.tdb"}, 0);
  json texts = json::parse(Run({"dump", "@back.tdb"}, 0))["strings"][0]["texts"];
  EXPECT_EQ(texts[1], "Hallo \u00fc");
  Run({"export-table", "@in.tdb", "@no/such/table.txt"}, 1, Path("no/such/table.txt"));

  // An import that the database file could not hold leaves the old file.
  WriteBytes(Path("long.txt"),
             "\xEF\xBB\xBF[1,Default]\r\n1000," + std::string(300, 'X') + ",-1,\r\n0=Hi\r\n");
  WriteBytes(Path("out.tdb"), "previous");
  Run({"import-table", "@long.txt", "@out.tdb"}, 1, Path("out.tdb") + ": string 1000");
  Run({"import-table", "@long.txt", "@out.tdb"}, 1, "tdbtool: warning: " + Path("long.txt") + ":2: ");
  Run({"import-table", "@missing.txt", "@out.tdb"}, 1, Path("missing.txt"));
  // A database, or UTF-16, has no category line: no table. An output that is the input is refused.
  Run({"import-table", "@in.tdb", "@out.tdb"}, 1, Path("in.tdb") + ": holds no text table");
  WriteBytes(Path("utf16.txt"), std::string("\xFF\xFE[\0"
                                            "1\0,\0D\0]\0\r\0\n\0",
                                            16));
  Run({"import-table", "@utf16.txt", "@out.tdb"}, 1, Path("utf16.txt") + ": holds no text table");
  // Nor is an empty file, or one of a byte-order mark and blank lines.
  WriteBytes(Path("empty.txt"), "");
  WriteBytes(Path("blank.txt"), "\xEF\xBB\xBF\r\n\n  \r\n");
  for (const char* name : {"empty.txt", "blank.txt"}) {
    Run({"import-table", "@" + std::string(name), "@out.tdb"}, 1,
        "tdbtool: " + Path(name) + ": holds no text table (no category line); nothing was written");
  }
  EXPECT_EQ(ReadBytes(Path("out.tdb")), "previous");
  const std::string table_bytes = ReadBytes(Path("table.txt"));
  Run({"import-table", "@table.txt", "@table.txt"}, 1,
      Path("table.txt") + ": the same file as the input " + Path("table.txt"));
  Run({"export-table", "@table.txt", "@in.tdb"}, 1);
  EXPECT_EQ(ReadBytes(Path("table.txt")), table_bytes);
}

// A database that is not a regular file is refused before anything is read (a pipe is never
// waited on); devices and links to them as outputs are swept in fault_sweep's odd targets.
TEST_F(Tdbtool, RefusesDatabasesThatAreNoFiles) {
  Save("in.tdb");
  std::vector<std::string> databases{dir.path()};
#if !defined(_WIN32)
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0666), 0);
  databases.push_back(Path("fifo"));
#endif
  for (const std::string& db : databases)
    Run({"import-po", db, "@in.tdb", "--language", "1"}, 1, db + ": not a regular file");
}

// Runs a shell command in the test folder; returns its exit code, with standard error in err.
int Shell(const std::string& dir, const std::string& command, std::string* err = nullptr) {
  std::string tdbtool = TDBTOOL_PATH;
  ProgramResult result =
      RunProgram("/bin/sh", {"-c", "tdbtool() { \"" + tdbtool + "\" \"$@\"; }; " + command}, dir);
  if (err) *err = result.err;
  return result.exit_code;
}

TEST_F(Tdbtool, GettextToolsReadThePoExportAndItsTranslationsComeBack) {
  if (sys::kWindows) GTEST_SKIP() << "the gettext tools and a shell run on the native build only";
  WriteBytes(
      Path("table.txt"),
      "\xEF\xBB\xBF[1,Default]\r\n1000,IDS_OK,-1,\r\n0=OK\r\n2=D'accord\r\n"
      "[2,Men\xC3\xBCs]\r\n1001,IDS_OK,5,wave\r\n0=Say \"hi\"\\there\tnow  \r\n2=  Dis \"salut\"\\ici\t \r\n"
      "1002,,-1,\r\n0=Emoji \xF0\x9F\x8E\xAE\r\n2=\xF0\x9F\x98\x80 sourire\r\n"
      "1003,IDS_NEW,-1,\r\n0=Not translated yet\r\n");
  Run({"import-table", "@table.txt", "@db.tdb"}, 0);
  Run({"export-po", "@db.tdb", "@fr.po", "--language", "2", "--language-code", "fr"}, 0);
  Run({"export-po", "@db.tdb", "@strings.pot"}, 0);
  std::string err;
  EXPECT_EQ(Shell(dir.path(), "msgfmt --check -o /dev/null fr.po", &err), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(Shell(dir.path(), "msgfmt --check -o /dev/null strings.pot", &err), 0);
  EXPECT_EQ(err, "strings.pot:2: warning: header field 'Language' still has the initial default value\n");
  EXPECT_EQ(Shell(dir.path(), "msgcat -o /dev/null fr.po strings.pot"), 0);

  // Every translation rewritten by a gettext tool comes back into language 2, and only there.
  ASSERT_EQ(Shell(dir.path(), "msgfilter --keep-header -i fr.po -o filtered.po sed -e 's/$/!/'"), 0);
  json expected = json::parse(Run({"dump", "@db.tdb"}, 0));
  for (json& s : expected["strings"]) {
    if (s["texts"].size() > 2 && s["texts"][2] != "") s["texts"][2] = s["texts"][2].get<std::string>() + "!";
  }
  EXPECT_EQ(Run({"import-po", "@db.tdb", "@filtered.po", "--language", "2"}, 0),
            Path("filtered.po") + ": 3 applied, 1 unchanged, 0 skipped\n");
  EXPECT_EQ(json::parse(Run({"dump", "@db.tdb"}, 0)), expected);
  Run({"export-po", "@db.tdb", "@again.po", "--language", "2", "--language-code", "fr"}, 0);
  ASSERT_EQ(Shell(dir.path(), "msgcat --no-wrap -o a.po filtered.po && msgcat --no-wrap -o b.po again.po"),
            0);
  EXPECT_EQ(ReadBytes(Path("a.po")), ReadBytes(Path("b.po")));

  // A translator's new file from the template, and an old one merged with it.
  ASSERT_EQ(Shell(dir.path(), "msginit --no-translator -l de -i strings.pot -o de.po"), 0);
  EXPECT_EQ(Run({"import-po", "@db.tdb", "@de.po", "--language", "3"}, 0),
            Path("de.po") + ": 0 applied, 4 unchanged, 0 skipped\n");
  ASSERT_EQ(Shell(dir.path(), "msgmerge -q -o merged.po filtered.po strings.pot"), 0);
  EXPECT_EQ(Run({"import-po", "@db.tdb", "@merged.po", "--language", "2"}, 0),
            Path("merged.po") + ": 0 applied, 4 unchanged, 0 skipped\n");
}

// Whether program can be run (found on the path).
bool HasProgram(const std::string& dir, const std::string& program) {
  return !sys::kWindows && Shell(dir, "command -v " + program + " >/dev/null") == 0;
}

// A German file does not go into the French slot by mistake; translate-toolkit's round trip
// through XLIFF drops msgctxt and lconvert's through Qt's TS format joins the comments, and the
// translations come back all the same.
TEST_F(Tdbtool, PoFilesComeBackThroughOtherToolsAndOnlyIntoTheirLanguage) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_OK", u"OK")->SetText(1, u"Bien");
  String(1001, "", u"Two\nlines  ")->SetText(2, u"Zwei\nZeilen  ");
  Save("db.tdb");
  Run({"export-po", "@db.tdb", "@de.po", "--language", "2", "--language-code", "de"}, 0);
  const std::string before = ReadBytes(Path("db.tdb"));
  Run({"import-po", "@db.tdb", "@de.po", "--language", "1", "--strict"}, 1,
      "de.po:1: the file holds language 2 (X-Tdb-Language: 2), not language 1 as --language says");
  Run({"import-po", "@db.tdb", "@de.po", "--language", "2", "--language-code", "fr"}, 1,
      "de.po:1: the file is in language de (Language: de), not fr as --language-code says");
  EXPECT_EQ(ReadBytes(Path("db.tdb")), before);
  EXPECT_EQ(Run({"import-po", "@db.tdb", "@de.po", "--language", "1", "--language-mismatch"}, 0),
            Path("de.po") + ": 1 applied, 1 unchanged, 0 skipped\n");

  // Each tool brings back a changed line of string 1001's translation.
  int round = 0;
  for (std::string tool : {"po2xliff", "/usr/lib/qt6/bin/lconvert"}) {
    if (!HasProgram(dir.path(), tool)) {
      std::printf("%s is not installed: its round trip is not tested\n", tool.c_str());
      continue;
    }
    std::string convert =
        tool == "po2xliff" ? "po2xliff --progress=none de.po x.xlf && xliff2po --progress=none x.xlf back.po"
                           : tool + " -i de.po -o x.ts && " + tool + " -i x.ts -o back.po";
    std::string line = "Zeilen" + std::to_string(++round);
    Run({"export-po", "@db.tdb", "@de.po", "--language", "2", "--language-code", "de"}, 0);
    ASSERT_EQ(Shell(dir.path(), "sed -i -E 's/Zeilen[0-9]*  /" + line + "  /' de.po && " + convert), 0);
    EXPECT_EQ(Run({"import-po", "@db.tdb", "@back.po", "--language", "2", "--strict"}, 0),
              Path("back.po") + ": 1 applied, 1 unchanged, 0 skipped\n")
        << tool;
    EXPECT_EQ(json::parse(Run({"dump", "@db.tdb"}, 0))["strings"][1]["texts"][2], "Zwei\n" + line + "  ");
  }
}

// Replaces the first from in text by to.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// An XLIFF export keeps the rules of XLIFF 1.2, comes back from a CAT tool's edit, and its
// translations come back through translate-toolkit (both ways) and lconvert.
TEST_F(Tdbtool, XliffFilesComeBackFromCatToolsAndConverters) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_OK", u"OK & <go>")->SetText(2, u"Bien & <vas-y>");
  String(1001, "", u"Two\nlines  ");
  String(1002, "IDS_N", u"\t%d items");
  Save("db.tdb");
  Run({"export-xliff", "@db.tdb", "@fr.xlf", "--language", "2", "--language-code", "fr"}, 0);
  std::string xliff = ReadBytes(Path("fr.xlf"));
  if (HasProgram(dir.path(), "xmllint")) {
    std::string err;
    EXPECT_EQ(Shell(dir.path(), "xmllint --noout --schema '" TX_XLIFF_RULES "' fr.xlf", &err), 0) << err;
  }
  size_t units = 0, preserved = 0;
  for (size_t at = 0; (at = xliff.find("<trans-unit ", at)) != std::string::npos; ++at, ++units)
    preserved += xliff.compare(xliff.find('>', at) - 21, 21, " xml:space=\"preserve\"") == 0;
  EXPECT_EQ(units, 3u);
  EXPECT_EQ(preserved, 3u);

  const std::string before = ReadBytes(Path("db.tdb"));
  Run({"import-xliff", "@db.tdb", "@fr.xlf", "--language", "1"}, 1,
      "fr.xlf:3: the file holds language 2 (tdb:language 2), not language 1 as --language says");
  Run({"import-xliff", "@db.tdb", "@fr.xlf", "--language", "2", "--language-code", "de"}, 1,
      "fr.xlf:3: the file is in language fr (target-language fr), not de as --language-code says");
  EXPECT_EQ(ReadBytes(Path("db.tdb")), before);

  // The CAT tool fills the two empty targets.
  std::string edited = Replaced(xliff, "<target state=\"needs-translation\"/>",
                                "<target state=\"translated\">Deux\nlignes  </target>");
  edited = Replaced(edited, "<target state=\"needs-translation\"/>",
                    "<target state=\"translated\">\t%d objets</target>");
  WriteBytes(Path("cat.xlf"), edited);
  EXPECT_EQ(Run({"import-xliff", "@db.tdb", "@cat.xlf", "--language", "2", "--strict"}, 0),
            Path("cat.xlf") + ": 2 applied, 1 unchanged, 0 skipped\n");
  EXPECT_EQ(json::parse(Run({"dump", "@db.tdb"}, 0))["strings"][1]["texts"][2], "Deux\nlignes  ");
  WriteBytes(Path("wrong.xlf"), Replaced(edited, "\t%d objets", "\t%s objets"));
  Run({"import-xliff", "@db.tdb", "@wrong.xlf", "--language", "2", "--strict"}, 1,
      "wrong.xlf:22: string 1002 \"IDS_N\": the translation's printf conversions differ");

  // Each converter brings back a changed translation of string 1000.
  const std::string lconvert = "/usr/lib/qt6/bin/lconvert";
  // The translation of string 1000 is changed in the file that goes out, and comes back.
  struct Way {
    std::string tool, export_command, file, convert, import_command, back;
  };
  const std::vector<Way> ways = {
      {"xliff2po", "export-xliff", "fr.xlf", "xliff2po --progress=none fr.xlf back.po", "import-po",
       "back.po"},
      {"po2xliff", "export-po", "fr.po", "po2xliff --progress=none fr.po back.xlf", "import-xliff",
       "back.xlf"},
      {lconvert, "export-xliff", "fr.xlf",
       lconvert + " -i fr.xlf -o fr.ts && " + lconvert + " -i fr.ts -o back.xlf", "import-xliff", "back.xlf"},
  };
  int round = 0;
  for (const Way& way : ways) {
    if (!HasProgram(dir.path(), way.tool)) {
      std::printf("%s is not installed: its round trip is not tested\n", way.tool.c_str());
      continue;
    }
    std::string text = "Bien " + std::to_string(++round);
    Run({way.export_command, "@db.tdb", "@" + way.file, "--language", "2", "--language-code", "fr"}, 0);
    ASSERT_EQ(Shell(dir.path(),
                    "sed -i -E 's/Bien( [0-9])? &/" + text + " \\&/' " + way.file + " && " + way.convert),
              0)
        << way.tool;
    EXPECT_EQ(Run({way.import_command, "@db.tdb", "@" + way.back, "--language", "2", "--strict"}, 0),
              Path(way.back) + ": 1 applied, 2 unchanged, 0 skipped\n")
        << way.tool;
    EXPECT_EQ(json::parse(Run({"dump", "@db.tdb"}, 0))["strings"][0]["texts"][2], text + " & <vas-y>");
  }
}

// "-" is standard output, and for the PO file of import-po standard input; --strict takes a PO
// file whole or not at all, and a translation must keep the English text's conversions.
TEST_F(Tdbtool, StandardStreamsAndStrictImport) {
  Run({"new", "@new.tdb"}, 0);
  EXPECT_EQ(Run({"new", "-"}, 0), ReadBytes(Path("new.tdb")));
  TranslateDBClass::Initialize();
  String(1000, "IDS_N", u"%d items");
  String(1001, "IDS_OK", u"100% OK");
  Save("db.tdb");
  std::string po = Run({"export-po", "@db.tdb", "-", "--language", "1"}, 0);
  EXPECT_NE(po.find("#, c-format\nmsgctxt \"1000 IDS_N\""), std::string::npos) << po;
  EXPECT_NE(po.find("Default\nmsgctxt \"1001 IDS_OK\""), std::string::npos) << po;
  Run({"export-table", "@db.tdb", "@t.txt"}, 0);
  std::string table = ReadBytes(Path("t.txt"));
  // The Windows program runner reads standard output as text, CR LF as LF.
  if (sys::kWindows) table.erase(std::remove(table.begin(), table.end(), '\r'), table.end());
  EXPECT_EQ(Run({"export-table", "@db.tdb", "-"}, 0), table);
  if (sys::kWindows) return;

  WriteBytes(Path("de.po"),
             "#, c-format\nmsgctxt \"1000 IDS_N\"\nmsgid \"%d items\"\nmsgstr \"%s Sachen\"\n\n"
             "msgctxt \"1001 IDS_OK\"\nmsgid \"100% OK\"\nmsgstr \"100 % gut\"\n");
  const std::string before = ReadBytes(Path("db.tdb"));
  std::string err;
  EXPECT_NE(Shell(dir.path(), "msgfmt --check-format -o /dev/null de.po", &err), 0);
  EXPECT_NE(err.find("de.po:4: "), std::string::npos) << err;
  EXPECT_NE(err.find("'msgid' and 'msgstr'"), std::string::npos) << err;
  EXPECT_EQ(Shell(dir.path(), "tdbtool import-po db.tdb - --language 1 --strict < de.po", &err), 1);
  EXPECT_EQ(err,
            "tdbtool: warning: standard input:2: string 1000 \"IDS_N\": the translation's printf conversions "
            "differ from the English text's; skipped\n"
            "tdbtool: standard input: 1 entry cannot be applied, and a strict import takes all or nothing\n");
  EXPECT_EQ(ReadBytes(Path("db.tdb")), before);
  EXPECT_EQ(Shell(dir.path(), "false | tdbtool import-table - db.tdb", &err), 1);
  EXPECT_EQ(err, "tdbtool: standard input: holds no text table (no category line); nothing was written\n");
  EXPECT_EQ(ReadBytes(Path("db.tdb")), before);
  EXPECT_EQ(Run({"import-po", "@db.tdb", "@de.po", "--language", "1"}, 0, ":2: string 1000"),
            Path("de.po") + ": 1 applied, 0 unchanged, 1 skipped\n");

  // Two imports into one database at once: the later waits for the earlier, which is still
  // reading its PO file, and both languages arrive.
  WriteBytes(Path("fr.po"), "msgctxt \"1001 IDS_OK\"\nmsgid \"100% OK\"\nmsgstr \"100 % bien\"\n");
  EXPECT_EQ(Shell(dir.path(),
                  "(sleep 1; cat de.po) | tdbtool import-po db.tdb - --language 2 > a.out & sleep 0.3; "
                  "tdbtool import-po db.tdb fr.po --language 3 > b.out && wait $!",
                  &err),
            0)
      << err;
  json texts = json::parse(Run({"dump", "@db.tdb"}, 0))["strings"][1]["texts"];
  EXPECT_EQ(texts[2], "100 % gut");
  EXPECT_EQ(texts[3], "100 % bien");

  // A closed standard stream is the null device: the report goes nowhere, the input is empty (and
  // never the database, opened first).
  EXPECT_EQ(Shell(dir.path(), "tdbtool import-po db.tdb fr.po --language 4 >&-", &err), 0) << err;
  EXPECT_EQ(json::parse(Run({"dump", "@db.tdb"}, 0))["strings"][1]["texts"][4], "100 % bien");
  const std::string imported = ReadBytes(Path("db.tdb"));
  EXPECT_EQ(Shell(dir.path(), "tdbtool import-po db.tdb - --language 5 <&- > c.out", &err), 0) << err;
  EXPECT_EQ(ReadBytes(Path("c.out")), "standard input: 0 applied, 0 unchanged, 0 skipped\n");
  EXPECT_EQ(ReadBytes(Path("db.tdb")), imported);
}

// Text tables of a database and of its versions on branches: strings added on both, one text
// changed on each side, and one change that conflicts with ours.
constexpr const char* kBase =
    "[1,Default]\r\n1000,IDS_A,-1,\r\n0=Alpha\r\n1=Alfa\r\n1001,IDS_B,-1,\r\n0=Beta\r\n";
void WriteVersions(const TempFolder& dir) {
  const std::string bom = "\xEF\xBB\xBF", base = kBase;
  WriteBytes(dir / "base.txt", bom + base);
  WriteBytes(dir / "ours.txt", bom +
                                   "[1,Default]\r\n1000,IDS_A,-1,\r\n0=Alpha\r\n1=Alfa!\r\n1001,IDS_B,-1,\r\n"
                                   "0=Beta\r\n1002,IDS_OURS,-1,\r\n0=Mine\r\n");
  WriteBytes(dir / "theirs.txt", bom + base + "1003,IDS_THEIRS,-1,\r\n0=Theirs\r\n");
  std::string theirs = ReadBytes(dir / "theirs.txt");
  WriteBytes(dir / "theirs.txt", theirs.replace(theirs.find("0=Beta"), 6, "0=Beta two"));
  WriteBytes(dir / "clash.txt", bom +
                                    "[1,Default]\r\n1000,IDS_A,-1,\r\n0=Alpha\r\n1=Alfa?\r\n1001,IDS_B,-1,"
                                    "\r\n0=Beta\r\n");
}

// merge replaces our side (as git's driver asks) but neither the base nor, after a conflict,
// their side; a failure is 2, as diff's.
TEST_F(Tdbtool, MergeWritesOverOurSideOnly) {
  WriteVersions(dir);
  for (const char* name : {"base", "ours", "theirs", "clash"})
    Run({"import-table", "@" + std::string(name) + ".txt", "@" + std::string(name) + ".tdb"}, 0);
  const std::string base = ReadBytes(Path("base.tdb")), clash = ReadBytes(Path("clash.tdb"));
  EXPECT_EQ(Run({"diff", "@base.tdb", "@clash.tdb"}, 1),
            "string 1000 \"IDS_A\" text 1: \"Alfa\" -> \"Alfa?\"\n");
  EXPECT_EQ(json::parse(Run({"diff", "--json", "@base.tdb", "@clash.tdb"}, 1)),
            json::parse(R"({"equal": false, "changes": [{"subject": "string", "id": 1000, "name": "IDS_A",
                "field": "text", "language": 1, "change": "changed", "old": "Alfa", "new": "Alfa?"}]})"));
  Run({"diff", "@base.tdb", "@missing.tdb"}, 2, Path("missing.tdb"));
  TranslateDBClass::Initialize();
  TDBStringClass* s = String(1000, "IDS_X", u"Caf\u00e9 \u4e2d");
  s->SetSoundID(4);
  s->SetAnimationName("wave");
  s->SetText(2, u"tab\t");
  Save("lines.tdb");
  EXPECT_EQ(Run({"dump", "--lines", "@lines.tdb"}, 0),
            "version 0\nlanguage 0\ncategory 1 \"Default\"\nstring 1000 \"IDS_X\" category 1\n"
            "string 1000 \"IDS_X\" soundId 4\nstring 1000 \"IDS_X\" animation \"wave\"\n"
            "string 1000 \"IDS_X\" english \"\"\nstring 1000 \"IDS_X\" text 0 \"Caf\u00e9 \u4e2d\"\n"
            "string 1000 \"IDS_X\" text 1 \"\"\nstring 1000 \"IDS_X\" text 2 \"tab\\t\"\n");
  Run({"merge", "@base.tdb", "@ours.tdb", "@theirs.tdb", "-o", "@base.tdb"}, 2,
      Path("base.tdb") + ": the same file as the input");
  Run({"merge", "@base.tdb", "@ours.tdb", "@clash.tdb", "-o", "@clash.tdb"}, 2,
      Path("clash.tdb") +
          ": is their side, whose conflicting changes the result would lose; nothing was written");
  EXPECT_EQ(ReadBytes(Path("base.tdb")), base);
  EXPECT_EQ(ReadBytes(Path("clash.tdb")), clash);
  // A result on standard output leaves the conflicts to standard error.
  EXPECT_EQ(Run({"merge", "@base.tdb", "@ours.tdb", "@clash.tdb", "-o", "-"}, 1, "conflict: string 1000 ")
                .find("conflict"),
            std::string::npos);
  EXPECT_EQ(Run({"merge", "@base.tdb", "@ours.tdb", "@theirs.tdb", "-o", "@theirs.tdb"}, 0), "");
  EXPECT_EQ(Run({"merge", "@base.tdb", "@ours.tdb", "@clash.tdb", "-o", "@ours.tdb"}, 1,
                Path("ours.tdb") + ": 1 conflict; our side is kept for each"),
            "conflict: string 1000 \"IDS_A\" text 1: ours \"Alfa!\", theirs \"Alfa?\"; ours kept\n");
}

TEST_F(Tdbtool, GitDiffsAndMergesDatabasesThroughTdbtool) {
  if (sys::kWindows) GTEST_SKIP() << "git and a shell run on the native build only";
  WriteVersions(dir);
  std::string bin = std::filesystem::path(TDBTOOL_PATH).parent_path().string(), err;
  // git sees only this repository's configuration: a home of its own, no system file.
  int code = Shell(
      dir.path(),
      "export HOME=\"$PWD/home\" GIT_CONFIG_NOSYSTEM=1 PATH=\"" + bin +
          ":$PATH\" && mkdir home repo && "
          "cd repo && git init -q -b main && git config user.name Test && "
          "git config user.email test@example.invalid && " TDBTOOL_GIT_SETUP
          " > ../setup.out && "
          "tdbtool import-table ../base.txt strings.tdb && git add -A && git commit -qm base && "
          "git checkout -qb ours && tdbtool import-table ../ours.txt strings.tdb && git commit -qam ours && "
          "git diff HEAD~1 > ../diff.out && git checkout -q main && git checkout -qb theirs && "
          "tdbtool import-table ../theirs.txt strings.tdb && git commit -qam theirs && "
          "git checkout -q ours && git merge --no-edit theirs > ../merge.out 2>&1 && "
          "tdbtool check strings.tdb && git checkout -qb clash main && "
          "tdbtool import-table ../clash.txt strings.tdb && git commit -qam clash && "
          "git checkout -q ours && cp strings.tdb ../merged.tdb && "
          "{ git merge --no-edit clash > ../clash.out 2>&1; test $? = 1; } && "
          "git status --porcelain > ../status.out",
      &err);
  ASSERT_EQ(code, 0) << err << ReadBytes(Path("merge.out")) << ReadBytes(Path("clash.out"));
  EXPECT_EQ(ReadBytes(Path("repo/.gitattributes")), "*.tdb diff=tdb merge=tdb\n");
  std::string diff = ReadBytes(Path("diff.out"));
  EXPECT_NE(diff.find(" string 1000 \"IDS_A\" text 0 \"Alpha\"\n"
                      "-string 1000 \"IDS_A\" text 1 \"Alfa\"\n"
                      "+string 1000 \"IDS_A\" text 1 \"Alfa!\"\n"
                      " string 1001 \"IDS_B\" category 1\n"
                      " string 1001 \"IDS_B\" text 0 \"Beta\"\n"
                      "+string 1002 \"IDS_OURS\" category 1\n"
                      "+string 1002 \"IDS_OURS\" text 0 \"Mine\"\n"),
            std::string::npos)
      << diff;
  EXPECT_NE(ReadBytes(Path("merge.out")).find("Merge made by"), std::string::npos);
  Run({"import-table", "@base.txt", "@base.tdb"}, 0);
  EXPECT_EQ(Run({"diff", "@base.tdb", "@merged.tdb"}, 1),
            "string 1000 \"IDS_A\" text 1: \"Alfa\" -> \"Alfa!\"\n"
            "string 1001 \"IDS_B\" text 0: \"Beta\" -> \"Beta two\"\n"
            "string 1002 \"IDS_OURS\" added: \"Mine\"\n"
            "string 1003 \"IDS_THEIRS\" added: \"Theirs\"\n");
  std::string clash = ReadBytes(Path("clash.out"));
  EXPECT_NE(
      clash.find("conflict: string 1000 \"IDS_A\" text 1: ours \"Alfa!\", theirs \"Alfa?\"; ours kept\n"),
      std::string::npos)
      << clash;
  EXPECT_NE(clash.find("CONFLICT (content): Merge conflict in strings.tdb"), std::string::npos) << clash;
  EXPECT_EQ(ReadBytes(Path("status.out")), "UU strings.tdb\n");
  EXPECT_EQ(Run({"diff", "@merged.tdb", "@repo/strings.tdb"}, 0), "");
}

TEST_F(Tdbtool, ImportPoRefusesWhatItCannotWriteBackWhole) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_OK", u"OK");
  Save("db.tdb");
  const std::string before = ReadBytes(Path("db.tdb"));
  WriteBytes(Path("stale.po"),
             "msgctxt \"1000 IDS_OK\"\nmsgid \"Okay\"\nmsgstr \"x\"\n\nmsgctxt \"1001\"\nmsgid \"\"\nmsgstr "
             "\"y\"\n");
  EXPECT_EQ(Run({"import-po", "@db.tdb", "@stale.po", "--language", "1"}, 0,
                "tdbtool: warning: " + Path("stale.po") + ":5: no string 1001 in the database; skipped"),
            Path("stale.po") + ": 0 applied, 0 unchanged, 2 skipped\n");
  Run({"import-po", "@db.tdb", "@stale.po"}, 2, "--language is required");
  Run({"import-po", "@db.tdb", "@stale.po", "--language", "0"}, 2);
  Run({"export-po", "@db.tdb", "@x.po", "--language-code", "de/x"}, 2, "--language-code: only letters");
  EXPECT_EQ(ReadBytes(Path("db.tdb")), before);

  WriteBytes(Path("cut.tdb"), before.substr(0, before.size() - 3));
  Run({"import-po", "@cut.tdb", "@stale.po", "--language", "1"}, 1,
      Path("cut.tdb") + ": the file is damaged");
  WriteBytes(Path("unknown.tdb"), std::string("\x42\x42\0\0\x02\0\0\0xy", 10) + before);
  Run({"import-po", "@unknown.tdb", "@stale.po", "--language", "1"}, 1, "which writing it back would drop");
  EXPECT_EQ(ReadBytes(Path("unknown.tdb")).size(), before.size() + 10);
}

// new and import-table wait for the lock that import-po holds while it updates a database; a
// program that takes no lock and replaces the database while import-po writes its new version
// makes import-po fail, and that program's file stays.
TEST_F(Tdbtool, WritersOfADatabaseTakeItsLockAndImportPoSeesARenameDuringItsSave) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_OK", u"OK");
  Save("db.tdb");
  Run({"export-table", "@db.tdb", "@t.txt"}, 0);
  Run({"new", "@other.tdb"}, 0);
  const std::string db = Path("db.tdb"), other = ReadBytes(Path("other.tdb"));
  NarrowStringClass error;
  for (std::vector<std::string> args :
       {std::vector<std::string>{"new", db}, {"import-table", Path("t.txt"), db}}) {
    if (sys::kWindows) break;  // no lock there, only the check before the rename
    const std::string before = ReadBytes(db);
    std::atomic<bool> done{false};
    std::thread writer;
    {
      FileLockClass lock;
      ASSERT_TRUE(lock.Acquire(db.c_str(), &error)) << error.Chars();
      writer = std::thread([&] { done = RunProgram(TDBTOOL_PATH, args).exit_code == 0; });
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      EXPECT_FALSE(done) << args[0];
      EXPECT_EQ(ReadBytes(db), before) << args[0];
    }
    writer.join();
    EXPECT_TRUE(done && ReadBytes(db) != before) << args[0];
  }
  WriteBytes(Path("in.po"), "msgctxt \"1000 IDS_OK\"\nmsgid \"OK\"\nmsgstr \"Gut\"\n");
  Save("db.tdb");
  struct RenamingDisk : platform::FaultDisk {
    std::string from, to;
    bool Sync(platform::Handle h) override {
      if (!from.empty()) Rename(from.c_str(), to.c_str());
      return from.clear(), FaultDisk::Sync(h);
    }
  } disk;
  disk.from = Path("other.tdb"), disk.to = db;
  testing::internal::CaptureStderr();
  EXPECT_EQ(tdbtool::ImportPo(db, Path("in.po"), PoImportOptions(), stdout, disk), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "tdbtool: " + db +
                ": another program changed the file while it was being updated; nothing was "
                "written, run the command again\n");
  EXPECT_EQ(ReadBytes(db), other);
  EXPECT_EQ(CountFiles(dir.path()), 3);
}

TEST_F(Tdbtool, FailedImportPoLeavesTheDatabaseByteIdentical) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_OK", u"OK");
  Save("db.tdb");
  const std::string before = ReadBytes(Path("db.tdb"));
  WriteBytes(Path("in.po"), "msgctxt \"1000 IDS_OK\"\nmsgid \"OK\"\nmsgstr \"Gut\"\n");
  std::string message;
  auto import = [&](platform::DiskInterface& disk) {
    testing::internal::CaptureStderr();
    int code = tdbtool::ImportPo(Path("db.tdb"), Path("in.po"), PoImportOptions(), stderr, disk);
    message = testing::internal::GetCapturedStderr();
    return code == 0;
  };
  auto check = [&](const std::string& where, bool ok) {
    // A failure names a file of the folder; a success gives the report.
    EXPECT_EQ(message.rfind(ok ? Path("in.po") + ": 1 applied" : "tdbtool: " + (dir / ""), 0), 0u) << message;
    EXPECT_EQ(ReadBytes(Path("db.tdb")) == before, !ok) << where;
    EXPECT_EQ(CountFiles(dir.path()), 2) << where;
    WriteBytes(Path("db.tdb"), before);
  };
  EXPECT_GT(fault_sweep::Disk(fault_sweep::kWriting | fault_sweep::kReading, import, check), 10);
}

}  // namespace
