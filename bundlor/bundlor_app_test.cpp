#include "bundlor/bundlor_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mix/testing/mix_archive.h"
#include "common/testing/fault_disk.h"
#include "common/testing/run_program.h"
#include "common/testing/system.h"

#if defined(__linux__)
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

using Outcome = ProgramResult;

// Runs the built bundlor program in folder cwd with the given arguments.
Outcome RunBuilt(const std::string& cwd, const std::vector<std::string>& args) {
  return RunProgram(BUNDLOR_PROGRAM, args, cwd);
}

// Runs bundlor in this process, so a test can hand it a failing disk.
Outcome RunHere(const std::string& folder, const std::string& archive,
                platform::DiskInterface& disk = platform::SystemDisk()) {
  CapturedStream out, err;
  const char* argv[] = {"bundlor", folder.c_str(), archive.c_str()};
  Outcome outcome;
  outcome.exit_code = RunBundlor(3, argv, out.get(), err.get(), disk);
  outcome.out = out.Text();
  outcome.err = err.Text();
  return outcome;
}

TEST(BundlorProgram, FewerThanTwoArgumentsShowTheUsage) {
  TempFolder dir;
  const std::string usage =
      "bundlor tool to generate a corvane mix file from a folder full of files\n"
      "usage:\n"
      "bundlor folder filename\n"
      "filename is the name of the mix file to create\n"
      "folder is the path to the folder containing the files to add\n"
      "The mix file will be created in the current folder unless filename is an absolute path\n"
      "bundlor will put every file in the specified folder into the mix file, including those in "
      "subfolders\n";
  for (auto args : {std::vector<std::string>{}, std::vector<std::string>{"folder"}}) {
    Outcome outcome = RunBuilt(dir.path(), args);
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_EQ(outcome.out, usage);
    EXPECT_EQ(outcome.err, "");
  }
  EXPECT_TRUE(FilesIn(dir.path()).empty());

  Outcome version = RunBuilt(dir.path(), {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out.substr(0, version.out.find('\n', version.out.find('\n') + 1) + 1),
            "bundlor 1.0.0\nCopyright (c) 2026 The toolset developers\n");
  EXPECT_NE(version.out.find("License MIT"), std::string::npos);
}

// The archive's bytes are the mix writer's business; here the program finds the folder and puts
// the archive where its arguments say. The names lie outside any ANSI code page.
TEST(BundlorProgram, PacksARelativeFolderIntoARelativeArchive) {
  TempFolder dir;
  const std::string tree = "\xce\xa9mega \xd0\xb4\xd0\xb8\xd1\x80";  // Ωmega дир
  WriteBytes(dir / (tree + "/a.txt"), "hello");
  WriteBytes(dir / (tree + "/\xe7\xb5\x82\xe4\xba\x86/b.bin"), std::string(20, 'b'));  // 終了
  Outcome outcome = RunBuilt(dir.path(), {tree, tree + ".mix", "ignored"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_EQ(outcome.out + outcome.err, "");
  ArchiveView view(dir / (tree + ".mix"));
  ASSERT_TRUE(view.loaded) << view.reader.ErrorMessage().Chars();
  EXPECT_EQ(view.reader.Count(), 2);
  int b = view.reader.Find("\xe7\xb5\x82\xe4\xba\x86\\b.bin");
  ASSERT_GE(b, 0);
  EXPECT_EQ(view.Name(b), "\xe7\xb5\x82\xe4\xba\x86\\b.bin");
  EXPECT_EQ(view.Member(b), std::string(20, 'b'));
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{tree, tree + ".mix"}));

  // A second run over the unchanged folder gives the same bytes, and an absolute archive path
  // is used as it is.
  TempFolder elsewhere;
  ASSERT_EQ(RunBuilt(elsewhere.path(), {dir / tree, dir / "again.mix"}).exit_code, 0);
  EXPECT_EQ(ReadBytes(dir / "again.mix"), view.bytes);
  EXPECT_TRUE(FilesIn(elsewhere.path()).empty());

  // "-" sends the same bytes to standard output (a pipe here), and no file is made.
  Outcome piped = RunBuilt(elsewhere.path(), {dir / tree, "-"});
  EXPECT_EQ(piped.exit_code, 0) << piped.err;
  EXPECT_EQ(piped.out, view.bytes);
  EXPECT_TRUE(FilesIn(elsewhere.path()).empty());
#ifndef _WIN32
  // Never onto a terminal.
  TerminalRun shown = RunOnTerminal(BUNDLOR_PROGRAM, {dir / tree, "-"});
  EXPECT_EQ(shown.exit_code, 2);
  EXPECT_EQ(shown.text, "bundlor: standard output is a terminal; redirect it or name an archive\r\n");
  // Standard error on a terminal shows the progress, drawn in place and erased at the end;
  // --quiet, anywhere, turns it off.
  TerminalRun progress = RunOnTerminal(BUNDLOR_PROGRAM, {dir / tree, dir / "p.mix"});
  EXPECT_EQ(progress.exit_code, 0);
  EXPECT_EQ(progress.text.rfind("\r0/2 files  0 B of 25 B  ", 0), 0u) << progress.text;
  size_t erased =
      progress.text.find_first_not_of(' ', progress.text.rfind('\r', progress.text.size() - 2) + 1);
  EXPECT_GT(erased, 30u);  // the whole line, its longest name included, is blanked at the end
  EXPECT_EQ(erased, progress.text.size() - 1);
  TerminalRun quiet = RunOnTerminal(BUNDLOR_PROGRAM, {dir / tree, "--quiet", dir / "q.mix"});
  EXPECT_EQ(quiet.exit_code, 0);
  EXPECT_EQ(quiet.text, "");
  EXPECT_EQ(ReadBytes(dir / "q.mix"), view.bytes);
#endif
}

TEST(BundlorProgram, BadArgumentsFailBeforeAnythingIsWritten) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "tree");
  std::filesystem::create_directories(dir / "taken");
  EXPECT_EQ(RunHere("", dir / "x.mix").err, "bundlor: the folder name is empty\n");
  EXPECT_EQ(RunHere(dir / "tree", "").err, "bundlor: the archive name is empty\n");
  Outcome outcome = RunHere(dir / "tree", dir / "taken");
  EXPECT_EQ(outcome.exit_code, 2);
  EXPECT_EQ(outcome.err, "bundlor: " + (dir / "taken") + ": is a folder, not an archive name\n");
  outcome = RunHere(dir / "missing", dir / "x.mix");
  EXPECT_EQ(outcome.exit_code, 2);
  EXPECT_EQ(outcome.err, "bundlor: " + (dir / "missing") + ": " + sys::MissingFolder() + "\n" +
                             "bundlor: " + (dir / "x.mix") + ": not written (1 failure)\n");
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"taken", "tree"}));
}

TEST(BundlorProgram, UnreadableSourcesAreCountedAndKeepTheOldArchive) {
  TempFolder dir;
  WriteBytes(dir / "tree/a.txt", "a");
  WriteBytes(dir / "tree/b.txt", "b");
  std::string archive = dir / "out.mix", io = ": " + sys::Text(sys::kIoError) + "\n";
  WriteBytes(archive, "old archive");
  platform::FaultDisk disk;
  disk.fail_read = 1;
  disk.sticky = true;
  Outcome outcome = RunHere(dir / "tree", archive, disk);
  EXPECT_EQ(outcome.exit_code, 2);
  EXPECT_EQ(outcome.err, "bundlor: " + (dir / "tree/a.txt") + io + "bundlor: " + (dir / "tree/b.txt") + io +
                             "bundlor: " + archive + ": not written (2 failures)\n");
  EXPECT_EQ(ReadBytes(archive), "old archive");
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"out.mix", "tree"}));
}

#if defined(__linux__)
// Sets or clears a folder's append-only flag (chattr +a); false where the file system or the
// rights of the user do not allow it.
bool SetAppendOnly(const std::string& folder, bool on) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  int flags = 0;
  bool ok = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
  ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  if (fd >= 0) close(fd);
  return ok;
}

// A folder where files can be made but neither renamed nor removed: the archive is not put in
// place, and the temporary file that stays is named, whether the run failed at the rename or
// gave up after unreadable sources.
TEST(BundlorProgram, AnAppendOnlyFolderNamesTheFileLeftBehind) {
  TempFolder dir;
  WriteBytes(dir / "tree/a.txt", "a");
  std::filesystem::create_directories(dir / "out");
  if (!SetAppendOnly(dir / "out", true)) GTEST_SKIP() << "append-only folders are not supported here";
  std::string archive = dir / "out/out.mix", denied = sys::Text(EPERM);
  Outcome renamed = RunBuilt(dir.path(), {dir / "tree", archive});
  std::vector<std::string> left = FilesIn(dir / "out");
  platform::FaultDisk disk;
  disk.fail_read = 1;
  Outcome unread = RunHere(dir / "tree", archive, disk);
  std::vector<std::string> both = FilesIn(dir / "out");
  ASSERT_TRUE(SetAppendOnly(dir / "out", false));
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(renamed.exit_code, 2);
  EXPECT_EQ(renamed.err, "bundlor: " + archive + ": " + denied + "; " + (dir / ("out/" + left[0])) +
                             ": the temporary file is left behind: " + denied + "\nbundlor: " + archive +
                             ": not written (1 failure)\n");
  ASSERT_EQ(both.size(), 2u);
  std::string second = dir / ("out/" + (both[0] == left[0] ? both[1] : both[0]));
  EXPECT_EQ(unread.err, "bundlor: " + (dir / "tree/a.txt") + ": " + sys::Text(sys::kIoError) +
                            "\nbundlor: " + second + ": the temporary file is left behind: " + denied +
                            "\nbundlor: " + archive + ": not written (2 failures)\n");
}
#endif

}  // namespace
