// SharedBytesClass: a block of bytes that several owners read and none changes, freed when the
// last of them lets go (a file read whole, whose parts many records still refer to). Its count
// is atomic, so owners on different threads may take and release it.
#pragma once

#include <atomic>
#include <cstdint>

class SharedBytesClass {
 public:
  // A block of size bytes (contents undefined) held once by the caller; null when memory runs
  // out or size is negative.
  static SharedBytesClass* Create(int64_t size);

  SharedBytesClass(const SharedBytesClass&) = delete;
  SharedBytesClass& operator=(const SharedBytesClass&) = delete;

  unsigned char* Data() { return data; }
  const unsigned char* Data() const { return data; }
  int64_t Size() const { return size; }

  void Hold() { holders.fetch_add(1, std::memory_order_relaxed); }
  // Frees the block when this was its last holder. Null is ignored.
  static void Release(SharedBytesClass* bytes);

 private:
  SharedBytesClass(unsigned char* data, int64_t size) : data(data), size(size) {}
  ~SharedBytesClass();

  unsigned char* data;
  int64_t size;
  std::atomic<int> holders{1};
};
