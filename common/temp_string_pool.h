// Per-thread pool of short-lived string buffers: eight narrow slots of 248 characters and four
// wide slots of 256 UTF-16 units. A slot is laid out like a heap string buffer (capacity, cached
// length, characters), so the string classes treat pooled and heap buffers alike.
#pragma once

#include <cstdint>

struct TempStringPool {
  static constexpr int kNarrowSlots = 8;
  static constexpr int kNarrowSlotBytes = 256;
  static constexpr int kNarrowCapacity = 248;
  static constexpr int kWideSlots = 4;
  static constexpr int kWideSlotBytes = 520;
  static constexpr int kWideCapacity = 256;

  uint32_t wide_free_mask;    // bit i set: wide slot i is free
  uint32_t narrow_free_mask;  // bit i set: narrow slot i is free
  alignas(8) unsigned char narrow_slots[kNarrowSlots * kNarrowSlotBytes];
  alignas(8) unsigned char wide_slots[kWideSlots * kWideSlotBytes];
};

// The calling thread's pool. It is statically initialised: no code runs to create it.
TempStringPool& CurrentTempStringPool();

// Which width of pool a character type uses, and the matching slot geometry.
template <typename CharT>
struct TempPoolGeometry;

template <>
struct TempPoolGeometry<char> {
  static constexpr int kSlots = TempStringPool::kNarrowSlots;
  static constexpr int kSlotBytes = TempStringPool::kNarrowSlotBytes;
  static constexpr int kCapacity = TempStringPool::kNarrowCapacity;
  static uint32_t& Mask(TempStringPool& p) { return p.narrow_free_mask; }
  static unsigned char* Area(TempStringPool& p) { return p.narrow_slots; }
};

template <>
struct TempPoolGeometry<char16_t> {
  static constexpr int kSlots = TempStringPool::kWideSlots;
  static constexpr int kSlotBytes = TempStringPool::kWideSlotBytes;
  static constexpr int kCapacity = TempStringPool::kWideCapacity;
  static uint32_t& Mask(TempStringPool& p) { return p.wide_free_mask; }
  static unsigned char* Area(TempStringPool& p) { return p.wide_slots; }
};

// Slot index of a buffer header in the calling thread's pool, or -1 for any other address.
template <typename CharT>
int TempPoolSlotOf(const void* header) {
  using G = TempPoolGeometry<CharT>;
  TempStringPool& pool = CurrentTempStringPool();
  uintptr_t d = reinterpret_cast<uintptr_t>(header) - reinterpret_cast<uintptr_t>(G::Area(pool));
  if (d >= static_cast<uintptr_t>(G::kSlots * G::kSlotBytes)) return -1;
  return static_cast<int>(d / G::kSlotBytes);
}
