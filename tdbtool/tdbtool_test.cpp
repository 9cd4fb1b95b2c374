// End-to-end tests of tdbtool: the built program is run on files made here.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "common/temp_folder_test.h"
#include "strandex/db/db_test_util.h"

namespace {

struct Outcome {
  int code = -1;
  std::string out, err;
};

std::string Quote(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class Tdbtool : public DatabaseTest {
 protected:
  Outcome Tool(const std::string& args) {
    Outcome run;
    std::string command =
        Quote(TDBTOOL_PATH) + " " + args + " >" + Quote(dir / "out") + " 2>" + Quote(dir / "err");
    int status = std::system(command.c_str());
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadBytes(dir / "out");
    run.err = ReadBytes(dir / "err");
    return run;
  }
  std::string Path(const std::string& name) { return dir / name; }
  std::string Arg(const std::string& name) { return Quote(dir / name); }

  // Saves the database in memory under name.
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

TEST_F(Tdbtool, HelpVersionAndUsage) {
  Outcome help = Tool("--help");
  EXPECT_EQ(help.code, 0);
  for (const char* command : {"new", "dump", "export-header", "export-table", "import-table", "check"})
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  Outcome version = Tool("--version");
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("tdbtool ", 0), 0u);
  EXPECT_EQ(Tool("").code, 2);
  EXPECT_EQ(Tool("dump").code, 2);
  EXPECT_EQ(Tool("frobnicate x").code, 2);
  EXPECT_EQ(Tool("new a b").code, 2);
}

TEST_F(Tdbtool, NewWritesTheStartDatabase) {
  Outcome run = Tool("new " + Arg("new.tdb"));
  EXPECT_EQ(run.code, 0) << run.err;
  std::string bytes = ReadBytes(Path("new.tdb"));
  ASSERT_EQ(bytes.size(), 104u);
  EXPECT_EQ(bytes.substr(86, 10), std::string("\x02\x08"
                                              "Default\0",
                                              10));
  Outcome fail = Tool("new " + Arg("missing/folder/new.tdb"));
  EXPECT_EQ(fail.code, 2);
  EXPECT_NE(fail.err.find(Path("missing/folder/new.tdb") + ": "), std::string::npos) << fail.err;
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
  String(1000, "IDS_FIRST", u"First \u4e2d");
  Save("in.tdb");

  Outcome run = Tool("dump " + Arg("in.tdb"));
  ASSERT_EQ(run.code, 0) << run.err;
  nlohmann::json json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["version"], 7);
  EXPECT_EQ(json["language"], 0);
  ASSERT_EQ(json["categories"].size(), 2u);
  EXPECT_EQ(json["categories"][1]["id"], 2);
  EXPECT_EQ(json["categories"][1]["name"], "Men\u00fcs");
  ASSERT_EQ(json["strings"].size(), 2u);
  const auto& first = json["strings"][0];
  EXPECT_EQ(first["id"], 1000);
  EXPECT_EQ(first["idString"], "IDS_FIRST");
  EXPECT_EQ(first["soundId"], -1);
  EXPECT_EQ(first["english"], "");  // the text has no narrow form
  EXPECT_EQ(first["texts"][0], "First \u4e2d");
  const auto& second = json["strings"][1];
  EXPECT_EQ(second["id"], 1003);
  EXPECT_EQ(second["categoryId"], 2);
  EXPECT_EQ(second["soundId"], 12);
  EXPECT_EQ(second["animation"], "wave\u00e9");
  EXPECT_EQ(second["english"], "Later");
  ASSERT_EQ(second["texts"].size(), 3u);
  EXPECT_EQ(second["texts"][1], "");
  EXPECT_EQ(second["texts"][2], "a\ufffdb");
}

TEST_F(Tdbtool, DamagedFilesAreRefusedUnlessSalvaged) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_A", u"Alpha");
  Save("whole.tdb");
  std::string whole = ReadBytes(Path("whole.tdb"));
  WriteBytes(Path("cut.tdb"), whole.substr(0, whole.size() - 5));
  Outcome refused = Tool("dump " + Arg("cut.tdb"));
  EXPECT_EQ(refused.code, 2);
  EXPECT_TRUE(refused.out.empty());
  EXPECT_NE(refused.err.find(Path("cut.tdb") + ": the file is damaged"), std::string::npos) << refused.err;
  Outcome salvaged = Tool("dump --salvage " + Arg("cut.tdb"));
  EXPECT_EQ(salvaged.code, 0);
  EXPECT_NE(salvaged.err.find("warning"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(salvaged.out)["categories"][0]["name"], "Default");
  EXPECT_EQ(Tool("check " + Arg("cut.tdb")).code, 2);
  EXPECT_EQ(Tool("export-header " + Arg("cut.tdb") + " " + Arg("cut.h")).code, 2);

  WriteBytes(Path("unknown.tdb"), std::string("\x42\x42\0\0\x02\0\0\0xy", 10) + whole);
  Outcome passed = Tool("dump " + Arg("unknown.tdb"));
  EXPECT_EQ(passed.code, 0);
  EXPECT_NE(passed.err.find("passed over unknown chunk 0x00004242 at offset 0"), std::string::npos)
      << passed.err;

  WriteBytes(Path("text.tdb"), "just some text");
  Outcome text = Tool("dump " + Arg("text.tdb"));
  EXPECT_EQ(text.code, 2);
  WriteBytes(Path("empty.tdb"), "");
  Outcome empty = Tool("dump " + Arg("empty.tdb"));
  EXPECT_EQ(empty.code, 2);
  EXPECT_NE(empty.err.find(Path("empty.tdb") + ": the file holds no string database"), std::string::npos);
  Outcome missing = Tool("dump " + Arg("missing.tdb"));
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find(Path("missing.tdb") + ": No such file or directory"), std::string::npos);
}

TEST_F(Tdbtool, CheckListsProblems) {
  TranslateDBClass::Initialize();
  String(1000, "IDS_OK", u"Fine");
  Save("clean.tdb");
  Outcome clean = Tool("check " + Arg("clean.tdb"));
  EXPECT_EQ(clean.code, 0);
  EXPECT_EQ(clean.out, "");

  String(1001, "ids_ok", u"Twice");
  String(1002, "IDS_LOST", u"Lost", 5);
  Save("bad.tdb");
  Outcome bad = Tool("check " + Arg("bad.tdb"));
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out,
            "string 1001 \"ids_ok\": the symbolic ID is also used by string 1000\n"
            "string 1002 \"IDS_LOST\": category 5 does not exist\n");
}

TEST_F(Tdbtool, ExportsAndImportRoundTrip) {
  TranslateDBClass::Initialize();
  TDBStringClass* s = String(1000, "IDS_HELLO", u"Hello");
  s->SetText(1, u"Hallo \u00fc");
  Save("in.tdb");
  Outcome header = Tool("export-header " + Arg("in.tdb") + " " + Arg("ids.h"));
  ASSERT_EQ(header.code, 0) << header.err;
  EXPECT_NE(ReadBytes(Path("ids.h")).find("#define IDS_HELLO\t\t1000\r\n"), std::string::npos);
  Outcome table = Tool("export-table " + Arg("in.tdb") + " " + Arg("table.txt"));
  ASSERT_EQ(table.code, 0) << table.err;
  EXPECT_EQ(
      ReadBytes(Path("table.txt")).rfind("\xEF\xBB\xBF[1,Default]\r\n1000,IDS_HELLO,-1,\r\n0=Hello\r\n", 0),
      0u);
  Outcome import = Tool("import-table " + Arg("table.txt") + " " + Arg("back.tdb"));
  ASSERT_EQ(import.code, 0) << import.err;
  Outcome dump = Tool("dump " + Arg("back.tdb"));
  ASSERT_EQ(dump.code, 0);
  nlohmann::json json = nlohmann::json::parse(dump.out);
  EXPECT_EQ(json["strings"][0]["texts"].size(), 7u);
  EXPECT_EQ(json["strings"][0]["texts"][1], "Hallo \u00fc");

  Outcome unwritable = Tool("export-table " + Arg("in.tdb") + " " + Arg("no/such/table.txt"));
  EXPECT_EQ(unwritable.code, 2);
  EXPECT_NE(unwritable.err.find(Path("no/such/table.txt")), std::string::npos);
}

TEST_F(Tdbtool, ImportRefusesToSaveWhatCannotBeRead) {
  std::string longID(300, 'X');
  WriteBytes(Path("long.txt"), "\xEF\xBB\xBF[1,Default]\r\n1000," + longID + ",-1,\r\n0=Hi\r\n");
  WriteBytes(Path("out.tdb"), "previous");
  Outcome run = Tool("import-table " + Arg("long.txt") + " " + Arg("out.tdb"));
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find(Path("out.tdb") + ": string 1000"), std::string::npos) << run.err;
  EXPECT_EQ(ReadBytes(Path("out.tdb")), "previous");
  Outcome missing = Tool("import-table " + Arg("missing.txt") + " " + Arg("out.tdb"));
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find(Path("missing.txt")), std::string::npos);
}

}  // namespace
