#include "common/shared_bytes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "common/allocore.h"

namespace {

// A block is freed by its last holder, on whichever thread that is.
TEST(SharedBytes, TheLastHolderFreesTheBlock) {
  EXPECT_EQ(SharedBytesClass::Create(-1), nullptr);
  const int64_t live = allocore::LiveCount();
  SharedBytesClass* bytes = SharedBytesClass::Create(10);
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes->Size(), 10);
  EXPECT_EQ(bytes->WaitFilled(10), 10);  // made whole: counted as filled
  bytes->Hold();
  std::thread other([bytes] { SharedBytesClass::Release(bytes); });
  other.join();
  EXPECT_GT(allocore::LiveCount(), live);
  SharedBytesClass::Release(bytes);
  EXPECT_EQ(allocore::LiveCount(), live);
  SharedBytesClass::Release(nullptr);
  allocore::FailAfter(1);
  EXPECT_EQ(SharedBytesClass::Create(10), nullptr);
  allocore::FailAfter(2);
  EXPECT_EQ(SharedBytesClass::Create(10), nullptr);
  allocore::FailAfter(0);
  EXPECT_EQ(allocore::LiveCount(), live);
}

// While a block is filled, a reader waits until the bytes it asks for have arrived, and no
// longer than the filling lasts.
TEST(SharedBytes, AReaderWaitsForTheBytesItNeeds) {
  SharedBytesClass* bytes = SharedBytesClass::Create(100);
  ASSERT_NE(bytes, nullptr);
  bytes->StartFilling();
  bytes->Filled(30);
  EXPECT_EQ(bytes->WaitFilled(20), 30);
  std::atomic<int64_t> seen{-1};
  std::thread reader([&] { seen = bytes->WaitFilled(80); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(seen, -1);  // 30 bytes are not 80
  bytes->Filled(60);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(seen, -1);
  bytes->Filled(90);
  reader.join();
  EXPECT_EQ(seen, 90);
  // A filling that stops short wakes the reader with what there is.
  reader = std::thread([&] { seen = bytes->WaitFilled(100); });
  bytes->EndFilling();
  reader.join();
  EXPECT_EQ(seen, 90);
  EXPECT_EQ(bytes->WaitFilled(100), 90);
  SharedBytesClass::Release(bytes);
}

}  // namespace
