// The two string classes of the toolset: NarrowStringClass (8-bit text) and UnicodeStringClass
// (UTF-16 units). A string is one pointer wide. Empty strings share one static zero character;
// any other string points at the characters of a buffer laid out as
//
//   int32 capacity | int32 cached length (0 = not yet counted) | characters, zero-terminated
//
// taken either from the heap (new[]) or from a slot of the calling thread's TempStringPool.
// Growth is exact (length + 1), never geometric. A pooled buffer must be released on the thread
// that took it.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "common/string_functions.h"
#include "common/temp_string_pool.h"

template <typename CharT>
class BasicStringClass {
 public:
  BasicStringClass() : chars_(EmptyValue()) {}
  BasicStringClass(const CharT* text, bool temporary = false) : chars_(EmptyValue()) {
    if (!text) return;
    AcquireBuffer(CountOf(text) + 1, temporary);
    Assign(text);
  }
  BasicStringClass(const BasicStringClass& other, bool temporary = false) : chars_(EmptyValue()) {
    if (other.IsEmpty()) return;
    AcquireBuffer(other.Length() + 1, temporary);
    Assign(other.chars_);
  }
  BasicStringClass(int capacity, bool temporary) : chars_(EmptyValue()) {
    AcquireBuffer(capacity, temporary);
  }
  BasicStringClass(BasicStringClass&& other) noexcept : chars_(other.chars_) { other.chars_ = EmptyValue(); }
  ~BasicStringClass() { Release(); }

  BasicStringClass& operator=(const BasicStringClass& other) { return Assign(other); }
  BasicStringClass& operator=(BasicStringClass&& other) noexcept {
    if (this != &other) {
      Release();
      chars_ = other.chars_;
      other.chars_ = EmptyValue();
    }
    return *this;
  }
  BasicStringClass& operator=(const CharT* text) { return Assign(text); }

  // Access.
  const CharT* Chars() const { return chars_; }
  CharT* Chars() { return chars_; }
  operator const CharT*() const { return chars_; }
  CharT* At(int i) { return chars_ + i; }
  const CharT* At(int i) const { return chars_ + i; }
  bool IsEmpty() const { return chars_[0] == 0; }
  int Capacity() const { return IsEmptyValue() ? 0 : header()->capacity; }
  int Length() const {
    if (IsEmptyValue()) return 0;
    Header* h = header();
    if (h->length == 0) h->length = CountOf(chars_);
    return h->length;
  }

  // Storage.
  void Release() {
    if (IsEmptyValue()) return;
    GiveBack(header());
    chars_ = EmptyValue();
  }

  // Replaces the buffer with one of capacity n (pooled when temporary and it fits). Content is
  // not kept; the new buffer holds an empty text.
  void AcquireBuffer(int n, bool temporary) {
    using G = TempPoolGeometry<CharT>;
    Header* fresh = nullptr;
    if (temporary && n >= 0 && n < G::kCapacity) {
      TempStringPool& pool = CurrentTempStringPool();
      uint32_t& mask = G::Mask(pool);
      if (mask != 0) {
        int slot = __builtin_ctz(mask);
        mask &= ~(1u << slot);
        fresh = reinterpret_cast<Header*>(G::Area(pool) + slot * G::kSlotBytes);
        fresh->capacity = G::kCapacity;
      }
    }
    if (!fresh) {
      // A capacity below 1 has no room for the terminator: the string simply becomes empty.
      if (n <= 0) {
        Release();
        return;
      }
      fresh = NewHeapBuffer(n);
    }
    Install(fresh);
  }

  // Replaces the buffer with a heap buffer of capacity n (at least 1) that holds an empty text.
  // False, with the string unchanged, when memory runs out.
  bool TryAcquireBuffer(int n) {
    Header* fresh = NewHeapBuffer(n, std::nothrow);
    if (!fresh) return false;
    Install(fresh);
    return true;
  }

  // Enlarges to exactly n, keeping the text.
  void Grow(int n) {
    if (n <= Capacity()) return;
    Header* fresh = NewHeapBuffer(n);
    CharT* text = reinterpret_cast<CharT*>(fresh + 1);
    memcpy(text, chars_, (CountOf(chars_) + 1) * sizeof(CharT));
    Install(fresh);
  }

  // Enlarges to exactly n without keeping the text; the cached length is reset in every case.
  void GrowRaw(int n) {
    if (n > Capacity()) Install(NewHeapBuffer(n));
    if (!IsEmptyValue()) header()->length = 0;
  }
  // The same, false (and the string unchanged) when memory runs out.
  bool TryGrowRaw(int n) {
    if (n > Capacity()) {
      Header* fresh = NewHeapBuffer(n, std::nothrow);
      if (!fresh) return false;
      Install(fresh);
    }
    if (!IsEmptyValue()) header()->length = 0;
    return true;
  }

  // Content.
  BasicStringClass& Assign(const CharT* text) {
    if (!text) return *this;
    int m = CountOf(text);
    if (m == 0 && IsEmptyValue()) return *this;  // already the empty text; no buffer needed
    if (m + 1 > Capacity()) {
      Header* fresh = NewHeapBuffer(m + 1);
      memcpy(fresh + 1, text, (m + 1) * sizeof(CharT));
      Install(fresh);
    } else {
      memmove(chars_, text, (m + 1) * sizeof(CharT));
    }
    header()->length = m;
    return *this;
  }
  BasicStringClass& Assign(const BasicStringClass& other) {
    if (this == &other) return *this;
    return Assign(other.chars_);
  }

  // Assign that reports allocation failure (false, string unchanged) instead of throwing.
  bool TryAssign(const CharT* text) {
    if (!text) return true;
    int m = CountOf(text);
    if (m == 0 && IsEmptyValue()) return true;
    if (m + 1 > Capacity()) {
      Header* fresh = NewHeapBuffer(m + 1, std::nothrow);
      if (!fresh) return false;
      memcpy(fresh + 1, text, (m + 1) * sizeof(CharT));
      Install(fresh);
    } else {
      memmove(chars_, text, (m + 1) * sizeof(CharT));
    }
    header()->length = m;
    return true;
  }

  BasicStringClass& Append(const CharT* text) {
    if (!text) return *this;
    return AppendCounted(text, CountOf(text));
  }
  BasicStringClass& Append(const BasicStringClass& other) {
    if (other.IsEmpty()) return *this;
    return AppendCounted(other.chars_, other.Length());
  }
  BasicStringClass& Append(CharT c) {
    int old = Length();
    Grow(old + 2);
    chars_[old] = c;
    chars_[old + 1] = 0;
    if (c != 0) header()->length = old + 1;
    return *this;
  }

  BasicStringClass& operator+=(const CharT* text) { return Append(text); }
  BasicStringClass& operator+=(const BasicStringClass& other) { return Append(other); }
  BasicStringClass& operator+=(CharT c) { return Append(c); }

  // Unit-by-unit equality of the texts.
  bool operator==(const BasicStringClass& other) const { return Compare(other.chars_) == 0; }
  bool operator==(const CharT* text) const { return Compare(text) == 0; }
  bool operator!=(const CharT* text) const { return Compare(text) != 0; }

  // Comparison as unsigned units up to the first difference or terminator: -1, 0 or +1.
  int Compare(const CharT* text) const {
    if (!text) text = EmptyValue();
    using U = std::make_unsigned_t<CharT>;
    const CharT* a = chars_;
    for (;; ++a, ++text) {
      U ua = static_cast<U>(*a), ub = static_cast<U>(*text);
      if (ua != ub) return ua < ub ? -1 : 1;
      if (ua == 0) return 0;
    }
  }

  // printf-style formatting through a 512-character work area. Output longer than 511
  // characters is cut to 511 and the result is -1; otherwise the result is the count written.
  int Format(const CharT* format, ...) {
    va_list args;
    va_start(args, format);
    int r = FormatArgs(format, args);
    va_end(args);
    return r;
  }
  int FormatArgs(const CharT* format, va_list args);
  // The same as a new string, for texts built in one expression (cut to 511 characters).
  static BasicStringClass Formatted(const CharT* format, ...) {
    BasicStringClass out;
    va_list args;
    va_start(args, format);
    out.FormatArgs(format, args);
    va_end(args);
    return out;
  }

  // Narrow only: conversion from a wide text (false and unchanged when it is null, empty, or
  // holds a unit above U+00FF, or when memory runs out).
  bool FromWide(const char16_t* text) requires(sizeof(CharT) == 1) {
    if (!text) return false;
    int m = NarrowLengthOfWide(text);
    if (m <= 0 || !TryGrowRaw(m + 1)) return false;
    for (int i = 0; i < m; ++i) chars_[i] = static_cast<CharT>(text[i]);
    chars_[m] = 0;
    header()->length = m;
    return true;
  }

  // Wide only: conversion from a narrow text, each byte b becoming U+00bb (false and unchanged
  // for null, or when memory runs out).
  bool FromNarrow(const char* text) requires(sizeof(CharT) == 2) {
    if (!text) return false;
    int m = static_cast<int>(strlen(text));
    if (!TryGrowRaw(m + 1)) return false;
    for (int i = 0; i < m; ++i) chars_[i] = static_cast<unsigned char>(text[i]);
    chars_[m] = 0;
    header()->length = m;
    return true;
  }

  // Wide only.
  bool IsSingleByte() const requires(sizeof(CharT) == 2) {
    for (const CharT* p = chars_; *p; ++p)
      if (*p > 0xFF) return false;
    return true;
  }
  BasicStringClass Substring(int start, int count) const requires(sizeof(CharT) == 2) {
    BasicStringClass local(count + 1, true);
    if (count > 0) {
      memcpy(local.chars_, chars_ + start, count * sizeof(CharT));
      local.chars_[count] = 0;
      local.header()->length = count;
    }
    return BasicStringClass(local);
  }
  void Erase(int start, int count) requires(sizeof(CharT) == 2) {
    if (count <= 0) return;
    int len = Length();
    memmove(chars_ + start, chars_ + start + count, (len - start - count) * sizeof(CharT));
    chars_[len - count] = 0;
    header()->length = len - count;
  }
  void Replace(int start, int count, const BasicStringClass& with) requires(sizeof(CharT) == 2) {
    int len = Length();
    int wlen = with.Length();
    int new_len = len - count + wlen;
    if (wlen > count) Grow(new_len + 1);
    memmove(chars_ + start + wlen, chars_ + start + count, (len - start - count) * sizeof(CharT));
    if (wlen) memcpy(chars_ + start, with.chars_, wlen * sizeof(CharT));
    chars_[new_len] = 0;
    if (!IsEmptyValue()) header()->length = new_len;
  }
  static BasicStringClass Concat(const BasicStringClass& string,
                                 const CharT* text) requires(sizeof(CharT) == 2) {
    BasicStringClass temp(string, true);
    temp.Append(text);
    return BasicStringClass(temp);
  }

  // The shared empty value of the class.
  static CharT* EmptyValue() { return &empty_value_; }

 private:
  struct Header {
    int32_t capacity;
    int32_t length;
  };

  bool IsEmptyValue() const { return chars_ == &empty_value_; }
  Header* header() const { return reinterpret_cast<Header*>(chars_) - 1; }

  static int CountOf(const CharT* text) {
    int n = 0;
    while (text[n]) ++n;
    return n;
  }

  static Header* InitHeader(void* raw, int n) {
    Header* h = static_cast<Header*>(raw);
    h->capacity = n;
    h->length = 0;
    reinterpret_cast<CharT*>(h + 1)[0] = 0;
    return h;
  }
  static Header* NewHeapBuffer(int n) {
    return InitHeader(::operator new[](sizeof(Header) + static_cast<size_t>(n) * sizeof(CharT)), n);
  }
  static Header* NewHeapBuffer(int n, const std::nothrow_t&) {
    void* raw = ::operator new[](sizeof(Header) + static_cast<size_t>(n) * sizeof(CharT), std::nothrow);
    return raw ? InitHeader(raw, n) : nullptr;
  }

  // Returns a buffer to the pool slot it came from, or to the heap.
  static void GiveBack(Header* h) {
    using G = TempPoolGeometry<CharT>;
    int slot = TempPoolSlotOf<CharT>(h);
    if (slot >= 0) {
      reinterpret_cast<CharT*>(h + 1)[0] = 0;
      G::Mask(CurrentTempStringPool()) |= 1u << slot;
    } else {
      ::operator delete[](h);
    }
  }

  // Installs a new buffer, releasing the old one; the cached length starts unknown.
  void Install(Header* fresh) {
    fresh->length = 0;
    if (!IsEmptyValue()) GiveBack(header());
    chars_ = reinterpret_cast<CharT*>(fresh + 1);
  }

  BasicStringClass& AppendCounted(const CharT* text, int m) {
    int old = Length();
    // The text may lie inside this string's own buffer, which Grow can replace.
    ptrdiff_t inside = text - chars_;
    bool self = !IsEmptyValue() && inside >= 0 && inside < Capacity();
    Grow(old + m + 1);
    if (self) text = chars_ + inside;
    memmove(chars_ + old, text, m * sizeof(CharT));
    chars_[old + m] = 0;
    header()->length = old + m;
    return *this;
  }

  CharT* chars_;
  static inline CharT empty_value_ = 0;
};

using NarrowStringClass = BasicStringClass<char>;
using UnicodeStringClass = BasicStringClass<char16_t>;

template <>
int BasicStringClass<char>::FormatArgs(const char* format, va_list args);
template <>
int BasicStringClass<char16_t>::FormatArgs(const char16_t* format, va_list args);
