// The platform layer on the system it is built for; where Windows and POSIX systems differ, each
// test says what it expects on each.
#include "common/platform/platform.h"

#include <gtest/gtest.h>

#include <string>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "common/testing/system.h"
#include "common/testing/temp_folder.h"

namespace {

using platform::SystemDisk;
using sys::kWindows;

TEST(Platform, PathsFollowTheSystem) {
  EXPECT_EQ(platform::PathSeparator(), kWindows ? '\\' : '/');
  // Windows: a drive and a separator, or a share; "C:name" and "\name" depend on current folders.
  for (const char* path :
       {"/usr", "C:\\games", "c:/games", "\\\\server\\share", "C:games", "\\games", "games", ""}) {
    bool windows = path[0] && (path[2] == '\\' || path[2] == '/' || path[1] == '\\');
    EXPECT_EQ(platform::IsAbsolutePath(path), kWindows ? windows : path[0] == '/') << path;
  }
  EXPECT_STREQ(platform::JoinPath("a", "b").Chars(), kWindows ? "a\\b" : "a/b");
  EXPECT_STREQ(platform::JoinPath("a/", "b").Chars(), "a/b");
  EXPECT_STREQ(platform::FileNamePart("/x/y.tdb"), "y.tdb");
  EXPECT_STREQ(platform::FileNamePart("C:\\x\\y.tdb"), kWindows ? "y.tdb" : "C:\\x\\y.tdb");
  EXPECT_STREQ(platform::FileNamePart("C:y.tdb"), kWindows ? "y.tdb" : "C:y.tdb");
}

TEST(Platform, NamesOutsideAnyCodePageAndFilesOpenTwice) {
  TempFolder dir;
  const std::string name = "\xce\xa9mega \xd0\xb4\xd0\xb8\xd1\x80 \xe7\xb5\x82.bin";  // Ωmega дир 終
  std::string path = dir / name;
  platform::Handle writer = SystemDisk().Open(path.c_str(), platform::kReadWrite);
  ASSERT_NE(writer, platform::kInvalidHandle);
  EXPECT_EQ(SystemDisk().Write(writer, "abc", 3), 3);
  // Windows opens for reading and writing without sharing: a second open fails there.
  platform::Handle reader = SystemDisk().Open(path.c_str(), platform::kRead);
  EXPECT_EQ(reader == platform::kInvalidHandle, kWindows);
  EXPECT_TRUE(kWindows ? platform::LastError() == sys::kSharingViolation : SystemDisk().Close(reader));
  // Only the write bit has a Windows counterpart, the read-only attribute.
  platform::FileStatus status;
  for (uint32_t mode : {0440u, 0640u}) {
    ASSERT_TRUE(platform::SetMode(writer, mode));
    ASSERT_TRUE(SystemDisk().Status(path.c_str(), &status));
    EXPECT_EQ(status.mode, kWindows ? ((mode & 0200) ? 0666u : 0444u) : mode) << std::oct << mode;
  }
  EXPECT_TRUE(SystemDisk().Close(writer));
  DynamicArrayClass<platform::DirEntry> entries;
  ASSERT_TRUE(SystemDisk().ListDirectory(dir.path().c_str(), entries));
  ASSERT_EQ(entries.Count(), 1);
  EXPECT_EQ(std::string(entries[0].name.Chars()), name);
  // Relative names follow the current folder, which can be changed and back.
  NarrowStringClass start;
  ASSERT_TRUE(platform::CurrentDirectory(start) && platform::SetCurrentDirectory(dir.path().c_str()));
  EXPECT_TRUE(SystemDisk().Status(name.c_str(), &status) && status.size == 3);
  ASSERT_TRUE(platform::SetCurrentDirectory(start));
}

#if !defined(_WIN32)
// A reader never waits for a pipe's writer: one without any reads as ended at once.
TEST(Platform, APipeWithoutWriterReadsAsEnded) {
  TempFolder dir;
  char byte[1];
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  platform::Handle h = SystemDisk().Open((dir / "fifo").c_str(), platform::kRead);
  EXPECT_TRUE(SystemDisk().Read(h, byte, 1) == 0 && SystemDisk().Close(h));
}
#endif

}  // namespace
