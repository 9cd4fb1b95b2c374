#include "common/safe_replace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#if !defined(_WIN32)
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "common/testing/fault_disk.h"
#include "common/testing/system.h"
#include "common/testing/temp_folder.h"

namespace {

TEST(SafeReplace, ReplacesAndKeepsPermissions) {
  TempFolder dir;
  std::string path = dir / "out.bin";
  WriteBytes(path, "old content that is longer");
  std::filesystem::permissions(path, std::filesystem::perms(0640));
  NarrowStringClass error;
  ASSERT_TRUE(SafeReplaceClass::WriteWhole(path.c_str(), "new", 3, &error));
  EXPECT_EQ(ReadBytes(path), "new");
  // Windows keeps only a read-only attribute, not nine permission bits.
  platform::FileStatus status;
  ASSERT_TRUE(platform::Disk().Status(path.c_str(), &status));
  EXPECT_EQ(status.mode, sys::kWindows ? 0666u : 0640u);
  EXPECT_EQ(CountFiles(dir.path()), 1);
#if !defined(_WIN32)
  struct stat st;
  // Only root can give a file to another user: then the owner is kept too.
  if (geteuid() == 0 && chown(path.c_str(), 65534, 65534) == 0) {
    ASSERT_TRUE(SafeReplaceClass::WriteWhole(path.c_str(), "newer", 5, &error));
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
  }
#endif
}

TEST(SafeReplace, EveryFailureLeavesTheOldFile) {
  TempFolder dir;
  std::string path = dir / "out.bin";
  using Disk = platform::FaultDisk;
  for (int Disk::*counter :
       {&Disk::fail_open, &Disk::fail_write, &Disk::max_write, &Disk::fail_sync, &Disk::fail_rename}) {
    WriteBytes(path, "old");
    platform::ScopedFaultDisk disk;
    disk.*counter = 1;
    NarrowStringClass error;
    EXPECT_FALSE(SafeReplaceClass::WriteWhole(path.c_str(), "new content", 11, &error));
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(CountFiles(dir.path()), 1);  // no temporary file left behind
    EXPECT_EQ(std::string(error.Chars()).rfind(path + ": ", 0), 0u) << error.Chars();
  }
  // A missing folder is refused with the system's reason.
  path = dir / "no/such/folder/out.bin";
  NarrowStringClass error;
  EXPECT_FALSE(SafeReplaceClass::WriteWhole(path.c_str(), "x", 1, &error));
  EXPECT_NE(std::string(error.Chars()).find(sys::MissingFolder()), std::string::npos) << error.Chars();
}

// Without durability the new file takes the old one's name by a swap, and the old file is then
// deleted under the temporary name (the sweeps of such writers succeed that way); when that
// fails, the old file is swapped back.
TEST(SafeReplace, WithoutDurabilityAFailedSwapPutsTheOldFileBack) {
  if (sys::kWindows) GTEST_SKIP() << "names are not swapped on Windows";
  struct FailDelete : platform::ScopedFaultDisk {
    bool Delete(const char* path) override {
      platform::SetLastError(sys::kIoError);
      return renames == 1 ? false : FaultDisk::Delete(path);
    }
  } disk;
  TempFolder dir;
  std::string path = dir / "out.bin";
  WriteBytes(path, "old");
  SafeReplaceClass replace(path.c_str());
  replace.SetDurable(false);
  ASSERT_TRUE(replace.Begin());
  replace.File().Write("new", 3);
  EXPECT_FALSE(replace.Commit());
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(CountFiles(dir.path()), 1);
}

TEST(SafeReplace, AbandonedReplacementDeletesTheTemporaryFile) {
  TempFolder dir;
  std::string path = dir / "new.bin";
  {
    SafeReplaceClass replace(path.c_str());
    ASSERT_TRUE(replace.Begin());
    replace.File().Write("partial", 7);
    EXPECT_EQ(CountFiles(dir.path()), 1);
  }
  EXPECT_EQ(CountFiles(dir.path()), 0);
}

// Names up to the system's limit, plain and of two-byte characters, can be replaced: the
// temporary name beside them is shortened to fit.
TEST(SafeReplace, LongestNamesCanBeReplaced) {
  TempFolder dir;
  std::string two_byte;
  while (two_byte.size() < 254) two_byte += "\xC3\xA9";
  for (const std::string& name :
       {std::string(244, 'n'), std::string(245, 'n'), std::string(255, 'n'), two_byte}) {
    std::string path = dir / name;
    WriteBytes(path, "old");
    NarrowStringClass error;
    EXPECT_TRUE(SafeReplaceClass::WriteWhole(path.c_str(), "new", 3, &error)) << error.Chars();
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(CountFiles(dir.path()), 1);
    std::filesystem::remove(path);
  }
}

// A link is written through and stays a link; a file without write permission is refused.
TEST(SafeReplace, LinksAreWrittenThroughAndReadOnlyFilesRefused) {
  TempFolder dir;
  std::string real = dir / "real.bin", link = dir / "link.bin";
  WriteBytes(real, "old");
  // The Windows build makes no links; the read-only check is the same there.
  bool linked = sys::MakeLink("real.bin", link, false);
  EXPECT_TRUE(linked || sys::kWindows);
  NarrowStringClass error;
  ASSERT_TRUE(SafeReplaceClass::WriteWhole((linked ? link : real).c_str(), "new", 3, &error))
      << error.Chars();
  EXPECT_EQ(linked, std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(real), "new");

  std::filesystem::permissions(real, std::filesystem::perms(0444));
  for (const std::string& path : {real, link}) {
    if (path == link && !linked) continue;
    EXPECT_FALSE(SafeReplaceClass::WriteWhole(path.c_str(), "newer", 5, &error));
    EXPECT_EQ(std::string(error.Chars()), path + ": " + sys::Text(platform::ErrorReadOnly()));
    EXPECT_EQ(ReadBytes(real), "new");
  }
}

// A child process starts a replacement and is stopped by a signal (or goes past its file-size
// limit): the old file stays and no temporary file is left. Windows has no such signals; its
// console stops delete the temporary file through a console control handler.
#if !defined(_WIN32)
TEST(SafeReplace, StoppingSignalsRemoveTheTemporaryFile) {
  TempFolder dir;
  std::string path = dir / "out.bin";
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) {
    WriteBytes(path, "old");
    pid_t child = fork();
    if (child == 0) {
      SafeReplaceClass replace(path.c_str());
      if (!replace.Begin()) _exit(3);
      if (signal_number == SIGXFSZ) {
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string data(4000, 'x');
        bool failed = replace.File().Write(data.data(), 4000) != 4000 && !replace.Commit();
        _exit(failed && replace.ErrorCode() == EFBIG ? 4 : 5);
      }
      replace.File().Write("partial", 7);
      raise(signal_number);
      _exit(6);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (signal_number == SIGXFSZ) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 4) << status;
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
    }
    EXPECT_EQ(ReadBytes(path), "old") << signal_number;
    EXPECT_EQ(CountFiles(dir.path()), 1) << signal_number;
  }
}

#endif

}  // namespace
