// ArrayClass<T>: an array of fixed capacity whose storage it owns or borrows from the caller.
// DynamicArrayClass<T>: adds a count of used slots and grows by a fixed step (10 unless set)
// when an element is added to a full array. Growth is linear, never geometric.
//
// Element handling comes from ArrayElementTraits<T>: types with a constructor have every slot of
// new storage default-constructed (owned or borrowed) and owned slots destroyed on release;
// plain pointers and records are left as allocated. Allocation failure shows only as a false
// result and leaves the array as it was.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

template <typename T>
struct ArrayElementTraits {
  static constexpr bool kConstruct = !std::is_trivially_default_constructible_v<T>;
  static constexpr bool kDestroy = !std::is_trivially_destructible_v<T>;
  static bool Equal(const T& a, const T& b) {
    if constexpr (std::equality_comparable<T>) {
      return a == b;
    } else {
      return false;
    }
  }
};

template <typename T>
class ArrayClass {
 public:
  ArrayClass() = default;
  ArrayClass(const ArrayClass& other) { *this = other; }
  virtual ~ArrayClass() { ReleaseStorage(); }

  virtual bool operator==(const ArrayClass& other) const {
    if (capacity != other.capacity) return false;
    for (int i = 0; i < capacity; ++i) {
      if (!ArrayElementTraits<T>::Equal(items[i], other.items[i])) return false;
    }
    return true;
  }

  // Gives the array new_capacity slots, keeping the first elements. Storage supplied by the
  // caller is borrowed (never freed by the array); otherwise the array allocates its own.
  virtual bool Resize(int new_capacity, T* storage = nullptr) {
    if (new_capacity == 0) {
      Clear();
      return true;
    }
    if (new_capacity < 0) return false;
    is_valid = false;
    T* fresh = storage ? storage : Allocate(new_capacity);
    if (fresh && storage) ConstructSlots(fresh, new_capacity);
    is_valid = true;
    if (!fresh) return false;
    if (items) {
      int keep = new_capacity < capacity ? new_capacity : capacity;
      for (int i = 0; i < keep; ++i) fresh[i] = std::move(items[i]);
      ReleaseStorage();
    }
    items = fresh;
    capacity = new_capacity;
    owns_storage = storage == nullptr;
    return true;
  }

  virtual void Clear() {
    if (!items) return;
    ReleaseStorage();
    items = nullptr;
    capacity = 0;
    owns_storage = false;
  }

  virtual int IndexOf(const T& value) const {
    if (!is_valid) return 0;
    for (int i = 0; i < capacity; ++i) {
      if (ArrayElementTraits<T>::Equal(items[i], value)) return i;
    }
    return -1;
  }

  virtual int IndexOf(const T* element) const {
    if (!is_valid) return 0;
    return static_cast<int>(element - items);
  }

  // Copies every slot into owned storage; a failed allocation leaves this array empty.
  ArrayClass& operator=(const ArrayClass& other) {
    if (this == &other) return *this;
    Clear();
    if (other.capacity == 0) return *this;
    T* fresh = Allocate(other.capacity);
    if (!fresh) return *this;
    for (int i = 0; i < other.capacity; ++i) fresh[i] = other.items[i];
    items = fresh;
    capacity = other.capacity;
    owns_storage = true;
    return *this;
  }

  T& operator[](int index) { return items[index]; }
  const T& operator[](int index) const { return items[index]; }
  int Length() const { return capacity; }

 protected:
  // Owned storage of n slots constructed as the element type requires, or null.
  static T* Allocate(int n) {
    uint64_t bytes = static_cast<uint64_t>(n) * sizeof(T);
    if (bytes > INT32_MAX) return nullptr;  // does not fit a 32-bit size
    T* fresh = static_cast<T*>(::operator new[](static_cast<size_t>(bytes), std::nothrow));
    if (fresh) ConstructSlots(fresh, n);
    return fresh;
  }

  static void ConstructSlots(T* slots, int n) {
    if constexpr (ArrayElementTraits<T>::kConstruct) {
      for (int i = 0; i < n; ++i) new (slots + i) T();
    }
  }

  // Destroys and frees owned storage; borrowed storage is only let go.
  void ReleaseStorage() {
    if (!items || !owns_storage) return;
    if constexpr (ArrayElementTraits<T>::kDestroy) {
      for (int i = 0; i < capacity; ++i) items[i].~T();
    }
    ::operator delete[](items);
  }

  T* items = nullptr;
  int capacity = 0;
  bool is_valid = true;
  bool owns_storage = false;
};

template <typename T>
class DynamicArrayClass : public ArrayClass<T> {
  using Base = ArrayClass<T>;

 public:
  DynamicArrayClass() = default;
  DynamicArrayClass(const DynamicArrayClass& other) : Base() { *this = other; }

  bool Resize(int new_capacity, T* storage = nullptr) override {
    bool ok = Base::Resize(new_capacity, storage);
    if (ok && count > new_capacity) count = new_capacity;
    return ok;
  }

  void Clear() override {
    count = 0;
    Base::Clear();
  }

  int IndexOf(const T& value) const override {
    for (int i = 0; i < count; ++i) {
      if (ArrayElementTraits<T>::Equal(this->items[i], value)) return i;
    }
    return -1;
  }
  using Base::IndexOf;

  DynamicArrayClass& operator=(const DynamicArrayClass& other) {
    if (this == &other) return *this;
    Base::operator=(other);
    // A failed copy leaves this array without storage, so it holds nothing.
    count = this->capacity == other.capacity ? other.count : 0;
    growth_step = other.growth_step;
    return *this;
  }

  int Count() const { return count; }

  // Appends value, growing by the step when full. False (and nothing stored) when the array is
  // full and may not grow: borrowed storage, a step of 0 or less, or no memory.
  bool Add(const T& value) { return Append(value); }
  // The same, moving value in (a string's buffer changes hands instead of being copied).
  bool Add(T&& value) { return Append(std::move(value)); }

  bool Delete(int index) {
    if (index < 0 || index >= count) return false;
    --count;
    for (int i = index; i < count; ++i) this->items[i] = std::move(this->items[i + 1]);
    return true;
  }

  // Sets the count to 0 and keeps the storage, so that an array filled again and again is not
  // allocated again each time (for elements that leave nothing to destroy).
  void Empty() requires std::is_trivially_destructible_v<T> { count = 0; }

  void DeleteAll() {
    int length = this->Length();
    Clear();
    Resize(length);
  }

  void SetGrowthStep(int step) { growth_step = step; }
  int GrowthStep() const { return growth_step; }

 private:
  template <typename U>
  bool Append(U&& value) {
    if (count < this->capacity) {
      this->items[count++] = std::forward<U>(value);
      return true;
    }
    if (!this->owns_storage && this->capacity != 0) return false;
    if (growth_step <= 0) return false;
    if (this->capacity > INT32_MAX - growth_step) return false;
    // value may be one of this array's own elements, which the resize moves.
    const T* base = this->items;
    bool inside = base && &value >= base && &value < base + this->capacity;
    int offset = inside ? static_cast<int>(&value - base) : 0;
    if (!Resize(this->capacity + growth_step)) return false;
    if (inside) {
      this->items[count] = static_cast<U&&>(this->items[offset]);
    } else {
      this->items[count] = std::forward<U>(value);
    }
    ++count;
    return true;
  }

  int count = 0;
  int growth_step = 10;
};

// Appends value to a list whose length is not known beforehand, on paths of our own (not the
// containers that keep their fixed steps): the list doubles as it grows, at least 64 slots at a
// time, so that a long one is not moved over again at every step. False when memory runs out,
// with nothing stored.
template <typename T, typename U>
bool AddDoubling(DynamicArrayClass<T>& list, U&& value) {
  constexpr int kMinStep = 64;
  list.SetGrowthStep(list.Count() < kMinStep ? kMinStep : list.Count());
  return list.Add(std::forward<U>(value));
}
