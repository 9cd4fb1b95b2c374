#include "common/disk_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "common/dos_time.h"
#include "common/testing/fault_disk.h"
#include "common/testing/temp_folder.h"

namespace {

std::string Numbers(int n) {
  std::string s(n, 0);
  for (int i = 0; i < n; ++i) s[i] = static_cast<char>(i % 251);
  return s;
}

class RecordingFile : public DiskFileClass {
 public:
  using DiskFileClass::DiskFileClass;
  void Error(int code, int can_retry, const char*) override { errors.push_back({code, can_retry}); }
  std::vector<std::pair<int, int>> errors;
};

TEST(DiskFile, OpenRights) {
  TempFolder dir;
  std::string path = dir / "f.bin";
  WriteBytes(path, "existing");
  DiskFileClass f(path.c_str());
  EXPECT_EQ(f.Open(0), 1);  // keeps an existing file
  EXPECT_EQ(f.Size(), 8);
  f.Close();
  EXPECT_EQ(f.Open(2), 1);  // truncates
  EXPECT_EQ(f.Size(), 0);
  f.Close();
  DiskFileClass missing((dir / "new.bin").c_str());
  EXPECT_EQ(missing.Open(1), 0);
  EXPECT_EQ(missing.Open(0), 1);  // creates
  missing.Close();
  EXPECT_TRUE(missing.IsAvailable());
  errno = 0;
  EXPECT_EQ(f.Open(5), 0);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(errno, 22);

  // A file without a name reports and fails.
  RecordingFile nameless;
  EXPECT_EQ(nameless.Open(1), 0);
  ASSERT_FALSE(nameless.errors.empty());
  EXPECT_EQ(nameless.errors.front().first, ENOENT);
  EXPECT_FALSE(nameless.Delete());
}

TEST(DiskFile, ClosedFileOperationsOpenForTheCallAndDelete) {
  TempFolder dir;
  std::string path = dir / "w.bin";
  RecordingFile f(path.c_str());
  EXPECT_EQ(f.Write("first buffer", 12), 12);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(f.Write("second", 6), 6);
  EXPECT_EQ(ReadBytes(path), "second");
  char buf[16] = {};
  EXPECT_EQ(f.Read(buf, 16), 6);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(f.Size(), 6);
  EXPECT_EQ(f.Seek(0, 0), -1);
  ASSERT_FALSE(f.errors.empty());
  EXPECT_EQ(f.errors.back().first, EBADF);
  EXPECT_EQ(f.GetDateTime(), 0u);
  EXPECT_FALSE(f.SetDateTime(0x5A210000));
  DiskFileClass missing((dir / "none").c_str());
  EXPECT_EQ(missing.Size(), -1);
  EXPECT_FALSE(missing.IsAvailable(1));
  EXPECT_FALSE(missing.IsAvailable(0));
  EXPECT_TRUE(f.Delete());
  EXPECT_FALSE(f.IsAvailable());
  EXPECT_FALSE(f.Delete());
}

TEST(DiskFile, WindowOnALargerFileAndWritesPastIt) {
  TempFolder dir;
  std::string path = dir / "big.bin";
  std::string data = Numbers(1000);
  WriteBytes(path, data);
  DiskFileClass f(path.c_str());
  ASSERT_EQ(f.Open(1), 1);
  f.Bias(100, 50);
  EXPECT_EQ(f.Size(), 50);
  EXPECT_EQ(f.Seek(0, 2), 50);
  EXPECT_EQ(f.Seek(-10, 0), 0);
  EXPECT_EQ(f.Seek(40, 0), 40);
  char buf[80];
  ASSERT_EQ(f.Read(buf, 80), 10);
  EXPECT_EQ(std::string(buf, 10), data.substr(140, 10));
  EXPECT_EQ(f.Seek(500, 0), 50);
  // Windows nest.
  f.Bias(10, 20);
  EXPECT_EQ(f.Size(), 20);
  EXPECT_EQ(f.Seek(0, 0), 0);
  ASSERT_EQ(f.Read(buf, 5), 5);
  EXPECT_EQ(std::string(buf, 5), data.substr(110, 5));
  f.Bias(0);
  EXPECT_FALSE(f.IsBiased());
  EXPECT_EQ(f.Size(), 1000);

  DiskFileClass g(path.c_str());
  g.Bias(100, -1);
  EXPECT_EQ(g.Size(), 1000);

  // Writes past the window lengthen it.
  f.Close();
  ASSERT_EQ(f.Open(0), 1);
  f.Bias(100, 10);
  f.Seek(5, 0);
  EXPECT_EQ(f.Write("0123456789", 10), 10);
  EXPECT_EQ(f.Size(), 15);
  f.Close();  // Windows shares no file that is open for reading and writing
  EXPECT_EQ(ReadBytes(path).substr(105, 10), "0123456789");
}

TEST(DiskFile, DateAndTimeRoundTrip) {
  TempFolder dir;
  std::string path = dir / "t.bin";
  WriteBytes(path, "x");
  DiskFileClass f(path.c_str());
  ASSERT_EQ(f.Open(0), 1);
  // 2024-03-15 12:34:56 local time.
  uint32_t value = ((2024 - 1980) << 9 | 3 << 5 | 15) << 16 | (12 << 11 | 34 << 5 | 28);
  EXPECT_TRUE(f.SetDateTime(value));
  EXPECT_EQ(f.GetDateTime(), value);
  EXPECT_FALSE(f.SetDateTime(0));  // day 0 is no date
  int64_t seconds;
  EXPECT_TRUE(UnixFromDosDateTime(value, &seconds));
  EXPECT_EQ(DosDateTimeFromUnix(seconds), value);
}

TEST(DiskFile, FailingDiskShowsInResultsAndTheHook) {
  TempFolder dir;
  std::string path = dir / "f.bin";
  WriteBytes(path, Numbers(100));
  platform::FaultDisk disk;
  RecordingFile f(path.c_str(), disk);
  ASSERT_EQ(f.Open(0), 1);
  disk.fail_read = disk.reads + 1;
  char buf[10];
  EXPECT_EQ(f.Read(buf, 10), 0);
  ASSERT_EQ(f.errors.size(), 1u);
  EXPECT_EQ(f.errors[0], std::make_pair(sys::kIoError, 1));
  disk.max_write = 4;
  EXPECT_EQ(f.Write("abcdefgh", 8), 4);
  EXPECT_EQ(f.errors.back(), std::make_pair(sys::kDiskFull, 0));
  disk.max_write = 0;
  disk.fail_write = disk.writes + 1;
  EXPECT_EQ(f.Write("abcdefgh", 8), 0);
  disk.fail_close = disk.closes + 1;
  f.Close();
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(f.errors.size(), 4u);
}

}  // namespace
