// In-memory FileClass. The owned buffer doubles as it fills, so building a large file costs
// few copies.
#include "common/memory_file.h"

#include <climits>
#include <cstring>
#include <new>

MemoryFileClass::MemoryFileClass(const void* bytes, int length)
    : data(static_cast<unsigned char*>(const_cast<void*>(bytes))),
      size(length < 0 ? 0 : length),
      capacity(size),
      borrowed(true) {}

MemoryFileClass::~MemoryFileClass() {
  if (!borrowed) delete[] data;
}

bool MemoryFileClass::Create() {
  if (borrowed) return false;
  size = 0;
  position = 0;
  return true;
}

int MemoryFileClass::Open(int rights) {
  if (rights < 0 || rights > 2) return 0;
  if (rights == 2 && !Create()) return 0;
  position = 0;
  return 1;
}

int MemoryFileClass::Read(void* buffer, int length) {
  int n = size - position;
  if (length < n) n = length;
  if (n <= 0) return 0;
  memcpy(buffer, data + position, static_cast<size_t>(n));
  position += n;
  return n;
}

int MemoryFileClass::Seek(int offset, int origin) {
  int target = SeekTarget(position, size, offset, origin);
  if (target >= 0) position = target;
  return target;
}

int MemoryFileClass::Write(const void* buffer, int length) {
  if (length <= 0) return 0;
  if (borrowed || static_cast<int64_t>(position) + length > INT_MAX || !Reserve(position + length)) {
    failed = true;
    return 0;
  }
  // A position beyond the end leaves a gap of zeros, as a disk file would.
  if (position > size) memset(data + size, 0, static_cast<size_t>(position - size));
  memcpy(data + position, buffer, static_cast<size_t>(length));
  position += length;
  if (position > size) size = position;
  return length;
}

bool MemoryFileClass::Reserve(int needed) {
  if (needed <= capacity) return true;
  int64_t grown = capacity < 4096 ? 4096 : static_cast<int64_t>(capacity) * 2;
  while (grown < needed) grown *= 2;
  if (grown > INT_MAX) grown = INT_MAX;
  unsigned char* fresh = new (std::nothrow) unsigned char[grown];
  if (!fresh) return false;
  if (size) memcpy(fresh, data, static_cast<size_t>(size));
  delete[] data;
  data = fresh;
  capacity = static_cast<int>(grown);
  return true;
}
