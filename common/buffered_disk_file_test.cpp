#include "common/buffered_disk_file.h"

#include <gtest/gtest.h>

#include <string>

#include "common/allocore.h"
#include "common/testing/fault_disk.h"
#include "common/testing/temp_folder.h"

namespace {

std::string Pattern(int n) {
  std::string s(n, 0);
  for (int i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return s;
}

struct Fixture {
  TempFolder dir;
  std::string path = dir / "data.bin";
  std::string data = Pattern(100000);
  Fixture() { WriteBytes(path, data); }
};

TEST(BufferedDiskFile, TellIsTheLogicalPosition) {
  Fixture fx;
  BufferedDiskFileClass f(fx.path.c_str());
  char buf[10];
  ASSERT_EQ(f.Read(buf, 10), 10);  // a closed file is opened for the call
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(std::string(buf, 10), fx.data.substr(0, 10));
  ASSERT_EQ(f.Open(1), 1);
  ASSERT_EQ(f.Read(buf, 10), 10);
  EXPECT_EQ(f.Tell(), 10);
  EXPECT_EQ(f.Seek(100, 1), 110);  // served from the buffer
  ASSERT_EQ(f.Read(buf, 10), 10);
  EXPECT_EQ(std::string(buf, 10), fx.data.substr(110, 10));
  EXPECT_EQ(f.Seek(20000 - 120, 1), 20000);  // beyond the buffer
  ASSERT_EQ(f.Read(buf, 10), 10);
  EXPECT_EQ(f.Seek(100, 1), 20110);  // within the next block
  ASSERT_EQ(f.Read(buf, 10), 10);
  EXPECT_EQ(std::string(buf, 10), fx.data.substr(20110, 10));
  EXPECT_EQ(f.Seek(5, 0), 5);  // backward: the buffer is dropped
  ASSERT_EQ(f.Read(buf, 10), 10);
  EXPECT_EQ(std::string(buf, 10), fx.data.substr(5, 10));
}

TEST(BufferedDiskFile, NoMemoryForTheBlockKeepsBytesAlreadyCopied) {
  Fixture fx;
  BufferedDiskFileClass f(fx.path.c_str());
  ASSERT_EQ(f.Open(1), 1);
  allocore::FailAfter(1);
  char buf[100];
  EXPECT_EQ(f.Read(buf, 100), 0);
  allocore::FailAfter(0);
  EXPECT_EQ(f.Tell(), 0);
  ASSERT_EQ(f.Read(buf, 100), 100);
  EXPECT_EQ(std::string(buf, 100), fx.data.substr(0, 100));
}

// Pieces that cross block ends, pieces larger than a block (passed straight through), and reads
// that the disk cuts short all give the file's bytes.
TEST(BufferedDiskFile, ShortAndFailingReads) {
  Fixture fx;
  platform::FaultDisk disk;
  BufferedDiskFileClass f(fx.path.c_str(), disk);
  ASSERT_EQ(f.Open(1), 1);
  std::string buf(20000, '\0');
  for (int piece : {3000, 20000}) {
    for (int max_read : {0, 1000}) {
      disk.max_read = max_read;
      f.Seek(0, 0);
      std::string got;
      for (int n; (n = f.Read(buf.data(), piece)) > 0;) got.append(buf.data(), static_cast<size_t>(n));
      EXPECT_EQ(got, fx.data) << piece << " " << max_read;
    }
  }
  f.Seek(0, 0);
  disk.fail_read = disk.reads + 1;
  EXPECT_EQ(f.Read(buf.data(), 10), 0);
}

}  // namespace
