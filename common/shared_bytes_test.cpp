#include "common/shared_bytes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "common/allocore.h"

namespace {

// The last holder frees the block, on any thread. While a block is filled, a reader waits until
// the bytes it asks for have arrived, and no longer than the filling lasts.
TEST(SharedBytes, HoldersAndReadersWhileFilling) {
  const int64_t live = allocore::LiveCount();
  EXPECT_EQ(SharedBytesClass::Create(-1), nullptr);
  SharedBytesClass* bytes = SharedBytesClass::Create(100);
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes->WaitFilled(100), 100);  // made whole: counted as filled
  bytes->StartFilling();
  bytes->Filled(30);
  EXPECT_EQ(bytes->WaitFilled(20), 30);
  std::atomic<int64_t> seen{-1};
  std::thread reader([&] { seen = bytes->WaitFilled(80); });
  for (int64_t filled : {60, 90}) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(seen, -1);  // not yet 80 bytes
    bytes->Filled(filled);
  }
  reader.join();
  EXPECT_EQ(seen, 90);
  bytes->Hold();
  reader = std::thread([&] {
    seen = bytes->WaitFilled(100);
    SharedBytesClass::Release(bytes);
  });
  bytes->EndFilling();  // stops short: the reader has what there is
  reader.join();
  EXPECT_EQ(seen, 90);
  EXPECT_GT(allocore::LiveCount(), live);
  SharedBytesClass::Release(bytes);
  EXPECT_EQ(allocore::LiveCount(), live);
}

}  // namespace
