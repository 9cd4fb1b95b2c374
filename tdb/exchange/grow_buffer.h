// GrowBuffer<T>: a growing array of plain values for the exchange readers and writers. It
// allocates with new (std::nothrow), doubles when full, and reports running out of memory as a
// false result, leaving its contents as they were.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>

template <typename T>
class GrowBuffer {
 public:
  GrowBuffer() = default;
  ~GrowBuffer() { delete[] items; }
  GrowBuffer(const GrowBuffer&) = delete;
  GrowBuffer& operator=(const GrowBuffer&) = delete;

  // Room for needed values, keeping the first count.
  bool Reserve(size_t needed) {
    if (needed <= capacity) return true;
    size_t fresh_capacity = needed < 2 * capacity ? 2 * capacity : needed;
    T* fresh = new (std::nothrow) T[fresh_capacity];
    if (!fresh) return false;
    if (count) memcpy(fresh, items, count * sizeof(T));
    delete[] items;
    items = fresh;
    capacity = fresh_capacity;
    return true;
  }
  bool Append(const T* from, size_t n) {
    if (!Reserve(count + n)) return false;
    if (n) memcpy(items + count, from, n * sizeof(T));
    count += n;
    return true;
  }
  bool Append(T value) { return Append(&value, 1); }

  T* items = nullptr;
  size_t count = 0;
  size_t capacity = 0;
};
