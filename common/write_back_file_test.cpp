// Tests of the write-back window: any mix of writes and seeks gives the bytes a file in memory
// gives.
#include "common/write_back_file.h"

#include <gtest/gtest.h>

#include <string>

#include "common/memory_file.h"

namespace {

std::string Bytes(MemoryFileClass& f) {
  return std::string(reinterpret_cast<const char*>(f.Data()), static_cast<size_t>(f.Size()));
}

TEST(WriteBackFile, MatchesAFileInMemory) {
  MemoryFileClass expected, target;
  WriteBackFileClass window(&target);
  std::string big(WriteBackFileClass::kWindowBytes + 100, 'b');
  uint32_t state = 12345;
  for (int step = 0; step < 3000; ++step) {
    state = state * 1103515245 + 12345;
    int kind = (state >> 16) % 10;
    if (kind < 6) {
      int length = 1 + static_cast<int>((state >> 8) % 3000);
      std::string chunk(static_cast<size_t>(length), static_cast<char>('a' + step % 26));
      ASSERT_EQ(window.Write(chunk.data(), length), length);
      expected.Write(chunk.data(), length);
    } else if (kind < 9) {
      int at = expected.Size() ? static_cast<int>((state >> 4) % static_cast<uint32_t>(expected.Size())) : 0;
      ASSERT_EQ(window.Seek(at, 0), at);
      expected.Seek(at, 0);
      ASSERT_EQ(window.Write("PATCH", 5), 5);
      expected.Write("PATCH", 5);
      window.Seek(0, 2);
      expected.Seek(0, 2);
    } else if (step % 500 == 0) {
      ASSERT_EQ(window.Write(big.data(), static_cast<int>(big.size())), static_cast<int>(big.size()));
      expected.Write(big.data(), static_cast<int>(big.size()));
    }
  }
  EXPECT_EQ(window.Size(), expected.Size());
  ASSERT_TRUE(window.Flush());
  EXPECT_FALSE(window.ErrorCode());
  EXPECT_EQ(Bytes(target), Bytes(expected));
}

TEST(WriteBackFile, RefusedWritesFail) {
  char storage[4] = {};
  MemoryFileClass borrowed(storage, sizeof storage);
  WriteBackFileClass window(&borrowed);
  EXPECT_EQ(window.Write("abc", 3), 3);
  EXPECT_FALSE(window.Flush());
  EXPECT_TRUE(window.ErrorCode());
  EXPECT_EQ(window.Write("abc", 3), 0);
}

}  // namespace
