#include "common/memory_file.h"

#include <gtest/gtest.h>

#include <string>

#include "common/allocore.h"

namespace {

TEST(MemoryFile, WriteSeekBackAndRead) {
  MemoryFileClass f;
  EXPECT_EQ(f.Write("header--", 8), 8);
  std::string body(10000, 'b');
  EXPECT_EQ(f.Write(body.data(), 10000), 10000);
  EXPECT_EQ(f.Seek(0, 0), 0);
  EXPECT_EQ(f.Write("HEAD", 4), 4);
  EXPECT_EQ(f.Size(), 10008);
  EXPECT_EQ(f.Seek(0, 2), 10008);
  EXPECT_EQ(f.Seek(4, 2), 10012);
  EXPECT_EQ(f.Write("!", 1), 1);
  EXPECT_EQ(f.Size(), 10013);
  std::string all(reinterpret_cast<const char*>(f.Data()), f.Size());
  EXPECT_EQ(all.substr(0, 8), "HEADer--");
  EXPECT_EQ(all.substr(10008), std::string("\0\0\0\0!", 5));
  EXPECT_EQ(f.Seek(-1, 0), -1);
  EXPECT_FALSE(f.ErrorCode());
}

TEST(MemoryFile, BorrowedBytesAreReadOnly) {
  const char bytes[] = "abcdef";
  MemoryFileClass f(bytes, 6);
  char buf[10];
  EXPECT_EQ(f.Read(buf, 4), 4);
  EXPECT_EQ(f.Read(buf, 10), 2);
  EXPECT_EQ(f.Read(buf, 10), 0);
  EXPECT_EQ(f.Write("x", 1), 0);
  EXPECT_TRUE(f.ErrorCode());
}

TEST(MemoryFile, OutOfMemoryIsAFailedWrite) {
  MemoryFileClass f;
  allocore::FailAfter(1);
  EXPECT_EQ(f.Write("abc", 3), 0);
  allocore::FailAfter(0);
  EXPECT_TRUE(f.ErrorCode());
  EXPECT_EQ(f.Size(), 0);
}

}  // namespace
