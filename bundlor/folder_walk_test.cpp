#include "bundlor/folder_walk.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "mix/testing/mix_archive.h"
#include "common/crc.h"
#include "common/testing/system.h"

namespace {

using Names = std::vector<std::pair<std::string, std::string>>;

// Walks and sorts folder; returns member name and source path in the order of the archive.
Names Walk(const std::string& folder, CapturedStream& err) {
  FileListClass list;
  DiagnosticsClass diagnostics(err.get());
  WalkFolder(folder.c_str(), list, diagnostics);
  SortFileList(list);
  CheckNames(list, diagnostics);
  Names names;
  for (int i = 0; i < list.Count(); ++i) names.emplace_back(list[i].Name.Chars(), list[i].Source.Chars());
  return names;
}

TEST(FolderWalk, NamesAreRelativePathsJoinedByBackslashes) {
  TempFolder dir;
  WriteBytes(dir / "a.txt", "a");
  WriteBytes(dir / "sub/b.bin", "b");
  WriteBytes(dir / "sub/deeper/C.Dat", "c");
  WriteBytes(dir / ".hidden", "h");
  std::filesystem::create_directories(dir / "empty/emptier");
  CapturedStream err;
  Names names = Walk(dir.path(), err);
  // In ascending order of the CRC-32 of the upper-cased names.
  EXPECT_EQ(names, (Names{{"sub\\deeper\\C.Dat", dir / "sub/deeper/C.Dat"},
                          {"a.txt", dir / "a.txt"},
                          {"sub\\b.bin", dir / "sub/b.bin"},
                          {".hidden", dir / ".hidden"}}));
  EXPECT_EQ(err.Text(), "");

  // A folder given with a trailing separator gives the same paths.
  EXPECT_EQ(Walk(dir.path() + platform::PathSeparator(), err), names);
}

TEST(FolderWalk, LinksToFoldersAreNotFollowedAndSpecialFilesNotPacked) {
  TempFolder dir;
  WriteBytes(dir / "sub/real.txt", "r");
  if (!sys::MakeLink(dir.path(), dir / "sub/loop", true) && sys::kWindows) GTEST_SKIP() << sys::kNoLinks;
  ASSERT_TRUE(sys::MakeLink(dir / "sub/real.txt", dir / "alias.txt", false));
  ASSERT_TRUE(sys::MakeLink(dir / "nowhere", dir / "dangling", false));
  // Windows folders hold no named pipes.
#if !defined(_WIN32)
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);  // opening it would wait for a writer
#endif
  CapturedStream err;
  FileListClass list;
  DiagnosticsClass diagnostics(err.get());
  WalkFolder(dir.path().c_str(), list, diagnostics);
  SortFileList(list);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(std::string(list[0].Name) + " " + std::string(list[1].Name), "alias.txt sub\\real.txt");
  EXPECT_EQ(diagnostics.Warnings(), sys::kWindows ? 1 : 2);
  EXPECT_EQ(diagnostics.Failures(), 1);
  std::string text = err.Text();
  std::vector<std::string> lines = {
      "bundlor: warning: " + (dir / "sub/loop") + ": symbolic link to a folder, not followed\n",
      "bundlor: " + (dir / "dangling") + ": " + sys::MissingFile() + "\n"};
  if (!sys::kWindows)
    lines.push_back("bundlor: warning: " + (dir / "pipe") + ": not a regular file, not packed\n");
  for (const std::string& line : lines) EXPECT_NE(text.find(line), std::string::npos) << text;
}

TEST(FolderWalk, AMissingFolderAFileOrAnUnreadableFolderIsAFailure) {
  TempFolder dir;
  WriteBytes(dir / "ok.txt", "x");
  CapturedStream err;
  FileListClass list;
  DiagnosticsClass diagnostics(err.get());
  WalkFolder((dir / "missing").c_str(), list, diagnostics);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(err.Text(), "bundlor: " + (dir / "missing") + ": " + sys::MissingFolder() + "\n");
  WalkFolder((dir / "ok.txt").c_str(), list, diagnostics);
  EXPECT_EQ(diagnostics.Failures(), 2);

  // Windows has no permission bits that keep a folder from being listed.
#if !defined(_WIN32)
  if (geteuid() == 0) return;  // root reads folders without read permission
  WriteBytes(dir / "locked/inside.txt", "x");
  chmod((dir / "locked").c_str(), 0);
  WalkFolder(dir.path().c_str(), list, diagnostics);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(diagnostics.Failures(), 3);
  EXPECT_NE(err.Text().find((dir / "locked") + ": Permission denied"), std::string::npos);
  chmod((dir / "locked").c_str(), 0755);
#endif
}

TEST(FolderWalk, NamesSharingACrcAreWarnedAboutAndOrderedByName) {
  // Two names found by search whose CRCs are equal, and two that differ only in letter case.
  ASSERT_EQ(CrcTextNoCase(0, "t99991.bin"), CrcTextNoCase(0, "t27746260.bin"));
  TempFolder dir;
  for (const char* name : {"t99991.bin", "t27746260.bin", "Readme.TXT", "README.txt", "other"})
    WriteBytes(dir / name, name);
  CapturedStream err;
  Names names = Walk(dir.path(), err);
  std::string order;
  for (auto& [name, source] : names) order += name + " ";
  // Where file names ignore letter case, the two Readme files are one.
  EXPECT_EQ(order, sys::kNamesIgnoreCase ? "other t27746260.bin t99991.bin Readme.TXT "
                                         : "other t27746260.bin t99991.bin README.txt Readme.TXT ");
  std::string text = err.Text();
  EXPECT_NE(
      text.find("bundlor: warning: t27746260.bin: has the same name CRC (4A864E31) as t99991.bin; a reader "
                "finds only one of them\n"),
      std::string::npos)
      << text;
  EXPECT_EQ(text.find("bundlor: warning: README.txt: has the same name CRC") != std::string::npos,
            !sys::kNamesIgnoreCase)
      << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), sys::kNamesIgnoreCase ? 1 : 2);
}

// Where a file name may hold a backslash, "back\\slash" and "back/slash" are one member name.
TEST(FolderWalk, TwoFilesOfOneMemberNameAreAFailure) {
  if (sys::kWindows) GTEST_SKIP() << "file names cannot hold a backslash";
  TempFolder dir;
  for (const char* name : {"back\\slash", "back/slash"}) WriteBytes(dir / name, name);
  CapturedStream err;
  Walk(dir.path(), err);
  EXPECT_EQ(err.Text(), "bundlor: " + (dir / "back/slash") + ": maps to the same member name as " +
                            (dir / "back\\slash") +
                            " (back\\slash); the archive could not tell them apart\n");
}

}  // namespace
