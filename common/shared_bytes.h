// SharedBytesClass: a block of bytes that several owners read and none changes, freed when the
// last of them lets go (a file read whole, whose parts many records still refer to). Its count
// is atomic, so owners on different threads may take and release it.
//
// A block may also be filled while it is already read: the filler calls StartFilling before it
// hands the block out, Filled as the bytes arrive in order and EndFilling when it stops; readers
// ask with WaitFilled for the bytes they need.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class SharedBytesClass {
 public:
  // A block of size bytes (contents undefined, counted as filled) held once by the caller; null
  // when memory runs out or size is negative.
  static SharedBytesClass* Create(int64_t size);

  SharedBytesClass(const SharedBytesClass&) = delete;
  SharedBytesClass& operator=(const SharedBytesClass&) = delete;

  unsigned char* Data() { return data; }
  const unsigned char* Data() const { return data; }
  int64_t Size() const { return size; }

  void Hold() { holders.fetch_add(1, std::memory_order_relaxed); }
  // Frees the block when this was its last holder. Null is ignored.
  static void Release(SharedBytesClass* bytes);

  void StartFilling();
  // The first count bytes hold their contents.
  void Filled(int64_t count);
  void EndFilling();
  // Waits until the first upto bytes hold their contents or the filling has ended; the number
  // of bytes that do.
  int64_t WaitFilled(int64_t upto) {
    const int64_t now = filled.load(std::memory_order_acquire);
    return now >= upto ? now : WaitUntilFilled(upto);
  }

 private:
  SharedBytesClass(unsigned char* data, int64_t size) : data(data), size(size), filled(size) {}
  ~SharedBytesClass();
  int64_t WaitUntilFilled(int64_t upto);

  unsigned char* data;
  int64_t size;
  std::atomic<int> holders{1};
  std::atomic<int64_t> filled;
  std::mutex lock;
  std::condition_variable changed;
  bool filling = false;
};
