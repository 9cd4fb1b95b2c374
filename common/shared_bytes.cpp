// Reference-counted byte blocks.
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
