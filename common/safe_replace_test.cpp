#include "common/safe_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "common/testing/fault_disk.h"
#include "common/testing/temp_folder.h"

namespace {

TEST(SafeReplace, ReplacesAndKeepsPermissions) {
  TempFolder dir;
  std::string path = dir / "out.bin";
  WriteBytes(path, "old content that is longer");
  chmod(path.c_str(), 0640);
  NarrowStringClass error;
  ASSERT_TRUE(SafeReplaceClass::WriteWhole(path.c_str(), "new", 3, &error));
  EXPECT_EQ(ReadBytes(path), "new");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(CountFiles(dir.path()), 1);
  // Only root can give a file to another user: then the owner is kept too.
  if (geteuid() == 0 && chown(path.c_str(), 65534, 65534) == 0) {
    ASSERT_TRUE(SafeReplaceClass::WriteWhole(path.c_str(), "newer", 5, &error));
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
  }
}

TEST(SafeReplace, EveryFailureLeavesTheOldFile) {
  TempFolder dir;
  std::string path = dir / "out.bin";
  for (int step = 0; step < 5; ++step) {
    WriteBytes(path, "old");
    platform::ScopedFaultDisk disk;
    switch (step) {
      case 0:
        disk.fail_open = 1;
        break;
      case 1:
        disk.fail_write = 1;
        break;
      case 2:
        disk.max_write = 2;
        break;
      case 3:
        disk.fail_sync = 1;
        break;
      case 4:
        disk.fail_rename = 1;
        break;
    }
    NarrowStringClass error;
    EXPECT_FALSE(SafeReplaceClass::WriteWhole(path.c_str(), "new content", 11, &error)) << step;
    EXPECT_EQ(ReadBytes(path), "old") << step;
    EXPECT_EQ(CountFiles(dir.path()), 1) << step;  // no temporary file left behind
    EXPECT_EQ(std::string(error.Chars()).rfind(path + ": ", 0), 0u) << error.Chars();
  }
}

TEST(SafeReplace, OnlyADurableReplacementWaitsForTheDisk) {
  TempFolder dir;
  std::string path = dir / "out.bin";
  for (bool durable : {true, false}) {
    platform::ScopedFaultDisk disk;
    SafeReplaceClass replace(path.c_str());
    replace.SetDurable(durable);
    ASSERT_TRUE(replace.Begin());
    replace.File().Write("data", 4);
    ASSERT_TRUE(replace.Commit());
    EXPECT_EQ(disk.syncs, durable ? 1 : 0);
    EXPECT_EQ(ReadBytes(path), "data");
  }
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

TEST(SafeReplace, MissingFolderIsReported) {
  TempFolder dir;
  std::string path = dir / "no/such/folder/out.bin";
  NarrowStringClass error;
  EXPECT_FALSE(SafeReplaceClass::WriteWhole(path.c_str(), "x", 1, &error));
  EXPECT_NE(std::string(error.Chars()).find("No such file or directory"), std::string::npos);
}

}  // namespace
