// mixtool run as a program on archives that bundlor packs and on archives written by hand.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/testing/run_program.h"
#include "common/testing/system.h"
#include "common/testing/temp_folder.h"
#include "common/testing/words.h"
#include "mix/mix_writer.h"
#include "mixtool/member_path.h"

namespace {

ProgramResult Mixtool(const std::vector<std::string>& args) { return RunProgram(MIXTOOL_PATH, args); }

// Every file below folder, by its path relative to it (with /), with its bytes.
std::map<std::string, std::string> Tree(const std::string& folder) {
  std::map<std::string, std::string> files;
  std::filesystem::path root = sys::NativePath(folder);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::u8string name = std::filesystem::relative(entry.path(), root).generic_u8string();
    std::u8string path = entry.path().u8string();
    files[std::string(name.begin(), name.end())] = ReadBytes(std::string(path.begin(), path.end()));
  }
  return files;
}

// An archive with the members named, each holding its own name, written by the archive writer.
std::string WriteArchive(const TempFolder& dir, const std::vector<std::string>& names) {
  std::string path = dir / "hand.mix";
  MixWriterClass writer(path.c_str());
  for (size_t i = 0; i < names.size(); ++i) {
    std::string source = dir / ("source" + std::to_string(i));
    WriteBytes(source, names[i]);
    EXPECT_TRUE(writer.AddFile(names[i].c_str(), source.c_str())) << writer.ErrorMessage().Chars();
  }
  EXPECT_TRUE(writer.Finish()) << writer.ErrorMessage().Chars();
  return path;
}

TEST(Mixtool, ExtractGivesBackWhatBundlorPacked) {
  TempFolder dir;
  WriteBytes(dir / "in/a.txt", "hello");
  WriteBytes(dir / "in/empty", "");
  WriteBytes(dir / "in/sub/deeper/big.bin", std::string(200000, 'x') + "end");
  WriteBytes(dir / "in/sub/caf\xC3\xA9.txt", "caf\xC3\xA9");
  ASSERT_EQ(RunProgram(BUNDLOR_PATH, {dir / "in", "a.mix"}, dir.path()).exit_code, 0);
  ProgramResult result = Mixtool({"extract", dir / "a.mix", dir / "out/new"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(Tree(dir / "out/new"), Tree(dir / "in"));

  result = Mixtool({"extract", dir / "a.mix", "-", "sub/caf\xC3\xA9.txt", "A.TXT"});
  EXPECT_EQ(result.out, "caf\xC3\xA9hello");
  EXPECT_EQ(Mixtool({"extract", dir / "a.mix", "-", "missing"}).err,
            "mixtool: " + (dir / "a.mix") + ": no member \"missing\"\n");
  EXPECT_EQ(Mixtool({"list", dir / "a.mix"}).out,
            "sub\\deeper\\big.bin\na.txt\nempty\nsub\\caf\xC3\xA9.txt\n");
  EXPECT_EQ(Mixtool({"list", "-v", "--slash", dir / "a.mix"}).out,
            "      Size      Offset  CRC       Name\n"
            "    200003          16  59F316C3  sub/deeper/big.bin\n"
            "         5      200024  968D9A34  a.txt\n"
            "         0      200032  9F93FF74  empty\n"
            "         5      200032  C864C616  sub/caf\xC3\xA9.txt\n"
            "    200013                        4 members\n");
  EXPECT_EQ(Mixtool({"list", "--json", dir / "a.mix"}).out.substr(0, 88),
            "{\"members\":[{\"name\":\"sub\\\\deeper\\\\big.bin\",\"size\":200003,\"crc\":1509103299,"
            "\"offset\":16},{");
  EXPECT_EQ(Mixtool({"verify", dir / "a.mix"}).out,
            dir / "a.mix" +
                ": structure sound, 4 members; the format holds no checksum, so their data is not checked\n");
}

// Members by name, folder or wildcard, into the current folder, -C FOLDER or a first word that
// selects none; --keep leaves what is there and names it.
TEST(Mixtool, ExtractSelectsMembersAsTarAndUnzipDo) {
  TempFolder dir;
  std::string archive = WriteArchive(dir, {"a.txt", "b.bin", "sub\\c.txt", "sub\\d\\e.txt", "subway.txt"});
  struct Case {
    std::vector<std::string> words;
    std::string folder;  // where the files land, below dir
    std::vector<std::string> files;
  } cases[] = {
      {{"*.TXT"}, "", {"a.txt", "sub/c.txt", "sub/d/e.txt", "subway.txt"}},
      {{"sub/"}, "", {"sub/c.txt", "sub/d/e.txt"}},
      {{"sub", "B.bin"}, "", {"b.bin", "sub/c.txt", "sub/d/e.txt"}},
      {{"sub\\*", "-C", "to"}, "to", {"sub/c.txt", "sub/d/e.txt"}},
      {{"out", "s?b/d/e.txt", "a.txt"}, "out", {"a.txt", "sub/d/e.txt"}},
      {{"-C", "whole"}, "whole", {"a.txt", "b.bin", "sub/c.txt", "sub/d/e.txt", "subway.txt"}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(sys::NativePath(dir / "run"));
    std::filesystem::create_directories(sys::NativePath(dir / "run"));
    std::vector<std::string> args = {"extract", archive};
    args.insert(args.end(), c.words.begin(), c.words.end());
    ProgramResult result = RunProgram(MIXTOOL_PATH, args, dir / "run");
    EXPECT_EQ(result.exit_code, 0) << result.err;
    std::vector<std::string> files;
    for (const auto& [name, bytes] : Tree(dir / ("run/" + c.folder))) files.push_back(name);
    EXPECT_EQ(files, c.files) << c.words[0];
  }
  ProgramResult none = RunProgram(MIXTOOL_PATH, {"extract", archive, "*.doc", "a.txt", "nope/"}, dir / "run");
  EXPECT_EQ(none.exit_code, 1);
  EXPECT_EQ(none.err,
            "mixtool: " + archive + ": no member \"*.doc\"\nmixtool: " + archive + ": no member \"nope/\"\n");
  WriteBytes(dir / "run/a.txt", "mine");
  ProgramResult kept =
      RunProgram(MIXTOOL_PATH, {"extract", "--keep", archive, "a.txt", "b.bin"}, dir / "run");
  EXPECT_EQ(kept.exit_code, 0);
  EXPECT_EQ(kept.err, std::string("mixtool: warning: .") + (sys::kWindows ? "\\" : "/") +
                          "a.txt: already there; kept\n");
  EXPECT_EQ(ReadBytes(dir / "run/a.txt"), "mine");
  EXPECT_EQ(ReadBytes(dir / "run/b.bin"), "b.bin");
}

TEST(Mixtool, NamesThatWouldLeaveTheFolderAreRefused) {
  TempFolder dir;
  std::string archive = WriteArchive(
      dir, {"..\\up.txt", "\\top.txt", "C:drive.txt", "a\\..\\..\\x.txt", "tab\there", "ok\\fine.txt"});
  ProgramResult result = Mixtool({"extract", archive, dir / "out"});
  EXPECT_EQ(result.exit_code, 1);
  for (const char* shown :
       {"\"..\\up.txt\"", "\"\\top.txt\"", "\"C:drive.txt\"", "\"a\\..\\..\\x.txt\"", "\"tab\\x09here\""}) {
    EXPECT_NE(result.err.find(shown + std::string(" is not written")), std::string::npos) << result.err;
  }
  EXPECT_EQ(Tree(dir / "out"), (std::map<std::string, std::string>{{"ok/fine.txt", "ok\\fine.txt"}}));
  EXPECT_EQ(FilesIn(dir.path()).size(), 8u);  // the archive, six sources and out
  EXPECT_EQ(
      Mixtool({"verify", archive}).out,
      archive +
          ": member \"\\top.txt\" cannot be extracted: a leading backslash would start at the top of the "
          "drive\n");

  std::string path;
  for (const char* name : {"con", "LPT1.txt", "dot.", "a\\space ", "what?"})
    EXPECT_NE(MemberPath(name, '\\', true, &path), nullptr) << name;
  EXPECT_EQ(MemberPath("con\\dot.", '/', false, &path), nullptr);
  EXPECT_EQ(path, "con/dot.");
}

TEST(Mixtool, VerifyNamesTheFirstProblem) {
  TempFolder dir;
  std::string good = ReadBytes(WriteArchive(dir, {"a.txt", "b.txt"}));
  auto verify = [&](const std::string& bytes) {
    WriteBytes(dir / "x.mix", bytes);
    ProgramResult result = Mixtool({"verify", dir / "x.mix"});
    EXPECT_EQ(result.exit_code, 1) << result.out;
    return result.out.substr((dir / "x.mix").size() + 2);
  };
  EXPECT_EQ(verify(good + "zz"), "2 bytes follow the name table\n");
  EXPECT_EQ(verify(good.substr(0, 12) + Word32(7) + good.substr(16)),
            "the reserved header word at offset 12 is not 0\n");
  std::string changed = good;
  changed[changed.size() - 2] = 'X';  // b.txX: the reader refuses it, and that is the answer
  EXPECT_EQ(verify(changed), "a member's CRC does not match its name\n");
  changed = good;
  changed.replace(good.find(Word32(24)), 4, Word32(16));  // b.txt's block over a.txt's
  EXPECT_EQ(verify(changed),
            "member \"b.txt\" starts at offset 16, where 24 was expected (the data blocks overlap or leave a "
            "gap)\n");

  ProgramResult missing = Mixtool({"verify", dir / "none.mix"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.err, "mixtool: " + (dir / "none.mix") + ": " + sys::MissingFile() + "\n");
  // A standard output that takes nothing is reported with the system's reason.
  std::string full = dir / "full";
  if (sys::kWindows || std::system(("mknod '" + full + "' c 1 7").c_str()) != 0) return;
  for (const char* command : {"list", "verify"}) {
    ProgramResult result = RunProgram(
        "/bin/sh", {"-c", "exec \"$0\" $1 $2 > $3", MIXTOOL_PATH, command, dir / "hand.mix", full});
    EXPECT_EQ(result.err, "mixtool: standard output: No space left on device\n") << result.exit_code;
  }
  ProgramResult help = RunProgram("/bin/sh", {"-c", "exec \"$0\" --help > $1", MIXTOOL_PATH, full});
  EXPECT_EQ(help.exit_code, 1);
  EXPECT_EQ(help.err, "mixtool: standard output: No space left on device\n");
}

// Names that extract could not all write: verify names the first clash, extract names every one
// and writes nothing, not even the folder. Names that differ only in case are one file on Windows.
TEST(Mixtool, ClashingNamesAreRefusedBeforeAnythingIsWritten) {
  TempFolder dir;
  struct Case {
    std::vector<std::string> names;
    std::string clash;
    bool letter_case;  // a clash only where case does not tell names apart
  } cases[] = {
      {{"a", "a\\b", "ok"}, "member \"a\" is also a folder of member \"a\\b\"", false},
      {{"g.txt\\x\\y", "G.TXT"}, "member \"G.TXT\" is also a folder of member \"g.txt\\x\\y\"", true},
      {{"d\\x", "d/x"}, "members \"d\\x\" and \"d/x\" are one path", false},
      {{"same", "same"}, "member \"same\" occurs twice", false},
      {{"Case.txt", "case.txt"},
       "members \"Case.txt\" and \"case.txt\" differ only in letter case, which makes them one file on "
       "Windows",
       true},
  };
  for (const Case& c : cases) {
    std::string archive = WriteArchive(dir, c.names), line = archive + ": " + c.clash;
    EXPECT_EQ(Mixtool({"verify", archive}).out, line + "\n");
    std::string out = dir / ("out-" + c.names[0].substr(0, 1));
    ProgramResult result = Mixtool({"extract", archive, out});
    if (c.letter_case && !sys::kWindows) {
      EXPECT_EQ(result.exit_code, 0) << result.err;
      EXPECT_EQ(Tree(out).size(), 2u);
      continue;
    }
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, "mixtool: " + line + "; nothing is written\n");
    EXPECT_FALSE(std::filesystem::exists(sys::NativePath(out)));
  }
}

// Links already inside the folder lead nowhere: extract neither writes through a linked folder or
// file, nor through a link to nothing, and names each link; the other members are written.
TEST(Mixtool, ExtractFollowsNoLinkInsideTheFolder) {
  if (sys::kWindows) GTEST_SKIP() << sys::kNoLinks;
  TempFolder dir;
  std::string archive = WriteArchive(dir, {"sub\\planted.txt", "a.txt", "gone\\x.txt", "fine\\b.txt"});
  WriteBytes(dir / "outside/victim.txt", "victim");
  std::filesystem::create_directories(dir / "out");
  ASSERT_TRUE(sys::MakeLink("../outside", dir / "out/sub", true));
  ASSERT_TRUE(sys::MakeLink("../outside/victim.txt", dir / "out/a.txt", false));
  ASSERT_TRUE(sys::MakeLink("../nowhere", dir / "out/gone", true));
  ProgramResult result = Mixtool({"extract", archive, dir / "out"});
  EXPECT_EQ(result.exit_code, 1);
  for (const char* member : {"sub\\planted.txt", "a.txt", "gone\\x.txt"}) {
    std::string link = dir / ("out/" + std::string(member, strcspn(member, "\\")));
    EXPECT_NE(result.err.find("mixtool: " + archive + ": member \"" + member + "\" is not written: " + link +
                              ": a symbolic link, which extract does not follow\n"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
  }
  EXPECT_EQ(Tree(dir / "outside"), (std::map<std::string, std::string>{{"victim.txt", "victim"}}));
  EXPECT_EQ(ReadBytes(dir / "out/fine/b.txt"), "fine\\b.txt");
}

TEST(Mixtool, UsageErrorsEndWithTwo) {
  EXPECT_EQ(Mixtool({"--version"}).out.rfind("mixtool ", 0), 0u);
  ProgramResult help = Mixtool({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("verify"), std::string::npos);
  for (auto [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{}, "mixtool: no command given\n"},
           {{"unpack", "x"}, "mixtool: unknown command \"unpack\"\n"},
           {{"extract"}, "mixtool: extract: ARCHIVE is required\n"},
           {{"list", "--bogus", "a.mix"}, "mixtool: list: unknown option --bogus\n"},
           {{"verify", "a.mix", "b.mix"},
            "mixtool: verify: unexpected argument \"b.mix\"\nTry 'mixtool verify --help' for more "
            "information.\n"}}) {
    ProgramResult result = Mixtool(args);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.err.substr(0, message.size()), message);
  }
}

}  // namespace
