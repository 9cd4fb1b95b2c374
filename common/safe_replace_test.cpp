#include "common/safe_replace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "common/file_lock.h"
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
  ASSERT_TRUE(platform::SystemDisk().Status(path.c_str(), &status));
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

// A durable replacement syncs the new file before the rename and the folder after it.
TEST(SafeReplace, ADurableReplacementSyncsTheNewFileBeforeTheRename) {
  struct Recording : platform::FaultDisk {
    std::string calls;
    bool Sync(platform::Handle h) override { return (calls += "sync ", FaultDisk::Sync(h)); }
    bool Rename(const char* from, const char* to) override {
      return (calls += "rename ", FaultDisk::Rename(from, to));
    }
    bool SyncFolderOf(const char* path) override {
      return (calls += "folder ", FaultDisk::SyncFolderOf(path));
    }
  } disk;
  TempFolder dir;
  ASSERT_TRUE(SafeReplaceClass::WriteWhole((dir / "out.bin").c_str(), "new", 3, nullptr, disk));
  EXPECT_EQ(disk.calls, "sync rename folder ");
}

// Replaces the file at path with "new" without durability; Commit's result.
bool ReplaceWithoutDurability(const std::string& path,
                              platform::DiskInterface& disk = platform::SystemDisk()) {
  SafeReplaceClass replace(path.c_str(), disk);
  replace.SetDurable(false);
  return replace.Begin() && replace.File().Write("new", 3) == 3 && replace.Commit();
}

// Without durability the new file takes the old one's name by a swap, and the old file is then
// deleted under the temporary name (the sweeps of such writers succeed that way); when that
// fails, the old file is swapped back.
TEST(SafeReplace, WithoutDurabilityAFailedSwapPutsTheOldFileBack) {
  if (sys::kWindows) GTEST_SKIP() << "names are not swapped on Windows";
  struct FailDelete : platform::FaultDisk {
    bool Delete(const char* path) override {
      platform::SetLastError(sys::kIoError);
      return renames == 1 ? false : FaultDisk::Delete(path);
    }
  } disk;
  TempFolder dir;
  std::string path = dir / "out.bin";
  WriteBytes(path, "old");
  EXPECT_FALSE(ReplaceWithoutDurability(path, disk));
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(CountFiles(dir.path()), 1);
}

#if !defined(_WIN32)
// The old file is let go by a process of its own, which leaves none behind for the caller to
// reap; a reader that held the old file still reads it whole.
TEST(SafeReplace, WithoutDurabilityTheOldFileIsLetGoInTheBackground) {
  TempFolder dir;
  std::string path = dir / "out.bin";
  WriteBytes(path, "old");
  int reader = open(path.c_str(), O_RDONLY);
  ASSERT_TRUE(ReplaceWithoutDurability(path));
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(CountFiles(dir.path()), 1);
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  char old[4] = {};
  EXPECT_EQ(pread(reader, old, 3, 0), 3);
  EXPECT_STREQ(old, "old");
  close(reader);
}
#endif

// A folder that lets files be made but not removed or renamed (append-only): the failure names
// the temporary file that stays behind.
TEST(SafeReplace, ATemporaryFileThatCannotBeRemovedIsNamed) {
  struct AppendOnly : platform::FaultDisk {
    bool DeleteOpen(platform::Handle, const char*) override {
      platform::SetLastError(sys::kAccessDenied);
      return false;
    }
  } disk;
  disk.fail_rename = 1;
  disk.error = sys::kAccessDenied;
  TempFolder dir;
  std::string path = dir / "out.bin";
  NarrowStringClass error;
  EXPECT_FALSE(SafeReplaceClass::WriteWhole(path.c_str(), "new", 3, &error, disk));
  std::vector<std::string> files = FilesIn(dir.path());
  ASSERT_EQ(files.size(), 1u);
  std::string denied = sys::Text(sys::kAccessDenied);
  EXPECT_EQ(std::string(error.Chars()), path + ": " + denied + "; " + (dir / files[0]) +
                                            ": the temporary file is left behind: " + denied);
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

// The temporary name is cut within the file's own name, after the last separator of either kind.
TEST(SafeReplace, TheTemporaryNameIsCutWithinTheFileName) {
  struct Prefixes : platform::FaultDisk {
    std::string prefix;
    platform::Handle CreateUnique(const char* p, NarrowStringClass& path) override {
      prefix = p;
      return FaultDisk::CreateUnique(p, path);
    }
  } disk;
  TempFolder dir;
  std::string folder = dir / "a";
  std::string path = folder + "/" + std::string(250, 'n');
  WriteBytes(path, "old");
  ASSERT_TRUE(SafeReplaceClass::WriteWhole(path.c_str(), "new", 3, nullptr, disk));
  EXPECT_EQ(disk.prefix, folder + "/" + std::string(244, 'n') + ".tmp-");
}

// A file without write permission is refused (links and other kinds of target: odd_targets.h).
// Every failure point of every writer is swept (fault_sweep.h); here the messages name the path.
TEST(SafeReplace, ReadOnlyFilesAndMissingFoldersAreRefused) {
  TempFolder dir;
  std::string path = dir / "real.bin", missing = dir / "no/such/folder/out.bin";
  WriteBytes(path, "old");
  std::filesystem::permissions(path, std::filesystem::perms(0444));
  NarrowStringClass error;
  EXPECT_FALSE(SafeReplaceClass::WriteWhole(missing.c_str(), "x", 1, &error));
  EXPECT_EQ(std::string(error.Chars()), missing + ": cannot create a file in the folder " +
                                            (dir / "no/such/folder") + ": " + sys::MissingFolder());
  EXPECT_FALSE(SafeReplaceClass::WriteWhole(path.c_str(), "newer", 5, &error));
  EXPECT_EQ(std::string(error.Chars()), path + ": " + sys::Text(platform::ErrorReadOnly()));
  EXPECT_EQ(ReadBytes(path), "old");
}

// A child process starts a replacement and is stopped by a signal, a broken pipe among them (or
// goes past its file-size limit), also (0) the moment the temporary file exists: the old file
// stays and no temporary file is left. Windows has no such signals; its console stops delete the
// temporary file through a console control handler.
#if !defined(_WIN32)
struct StopOnCreate : platform::FaultDisk {
  platform::Handle CreateUnique(const char* prefix, NarrowStringClass& path) override {
    platform::Handle h = platform::FaultDisk::CreateUnique(prefix, path);
    raise(SIGTERM);
    return h;
  }
};

TEST(SafeReplace, StoppingSignalsRemoveTheTemporaryFile) {
  TempFolder dir;
  std::string path = dir / "out.bin";
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ, 0}) {
    WriteBytes(path, "old");
    pid_t child = fork();
    if (child == 0) {
      StopOnCreate stop;
      SafeReplaceClass replace(path.c_str(), signal_number == 0 ? stop : platform::SystemDisk());
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
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == (signal_number ? signal_number : SIGTERM))
          << status;
    }
    EXPECT_EQ(ReadBytes(path), "old") << signal_number;
    EXPECT_EQ(CountFiles(dir.path()), 1) << signal_number;
  }
}

// A temporary file whose folder is renamed before the replacement fails is deleted all the same.
TEST(SafeReplace, ARenamedFolderKeepsNoTemporaryFile) {
  TempFolder dir;
  WriteBytes(dir / "a/out.bin", "old");
  SafeReplaceClass replace((dir / "a/out.bin").c_str());
  ASSERT_TRUE(replace.Begin());
  std::filesystem::rename(dir / "a", dir / "b");
  EXPECT_FALSE(replace.Commit());
  EXPECT_EQ(FilesIn(dir / "b"), std::vector<std::string>{"out.bin"});
}

#endif

// Where no lock can be had (Windows), a file replaced after it was read is found before the
// update writes anything.
TEST(FileLock, WithoutALockAReplacedFileIsFound) {
  struct NoLocks : platform::FaultDisk {
    bool Lock(platform::Handle) override { return false; }
  } disk;
  TempFolder dir;
  std::string path = dir / "db";
  WriteBytes(path, "one");
  FileLockClass lock(disk);
  NarrowStringClass error;
  ASSERT_TRUE(lock.Acquire(path.c_str(), &error)) << error.Chars();
  EXPECT_TRUE(lock.Unchanged(&error));
  ASSERT_TRUE(SafeReplaceClass::WriteWhole(path.c_str(), "two", 3, &error));
  EXPECT_FALSE(lock.Unchanged(&error));
  EXPECT_EQ(std::string(error.Chars()), path +
                                            ": another program changed the file while it was being updated; "
                                            "nothing was written, run the command again");
}

}  // namespace
