// Reference-counted byte blocks, and their filling while they are read.
#include "common/shared_bytes.h"

#include <cstddef>
#include <new>

SharedBytesClass* SharedBytesClass::Create(int64_t size) {
  if (size < 0 || static_cast<uint64_t>(size) > SIZE_MAX) return nullptr;
  unsigned char* data = new (std::nothrow) unsigned char[size > 0 ? static_cast<size_t>(size) : 1];
  if (!data) return nullptr;
  SharedBytesClass* bytes = new (std::nothrow) SharedBytesClass(data, size);
  if (!bytes) delete[] data;
  return bytes;
}

SharedBytesClass::~SharedBytesClass() { delete[] data; }

void SharedBytesClass::Release(SharedBytesClass* bytes) {
  if (bytes && bytes->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete bytes;
}

void SharedBytesClass::StartFilling() {
  std::lock_guard<std::mutex> hold(lock);
  filling = true;
  filled.store(0, std::memory_order_release);
}

void SharedBytesClass::Filled(int64_t count) {
  {
    std::lock_guard<std::mutex> hold(lock);
    filled.store(count, std::memory_order_release);
  }
  changed.notify_all();
}

void SharedBytesClass::EndFilling() {
  {
    std::lock_guard<std::mutex> hold(lock);
    filling = false;
  }
  changed.notify_all();
}

int64_t SharedBytesClass::WaitUntilFilled(int64_t upto) {
  std::unique_lock<std::mutex> hold(lock);
  changed.wait(hold, [&] { return !filling || filled.load(std::memory_order_acquire) >= upto; });
  return filled.load(std::memory_order_acquire);
}
