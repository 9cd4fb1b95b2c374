// HashTableClass<V>: narrow-string keys to values, chained by entry index inside one entry
// array, with spare entries on a free list. The table holds at most bucket_count entries and
// doubles (0, 4, 8, 16, ...) when an insertion finds no free entry. Keys compare byte for byte;
// a caller that wants case folded folds the key itself. The table never releases what the
// values point to.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "common/coding.h"
#include "common/string_class.h"

// Constant-time for keys of 8 bytes or more: one little-endian word read 8 bytes before the end.
// So it is slow on numbered keys: IDS_STR_000123 and IDS_STR_000456 share those four bytes, as
// do all such IDs of one length, and fall into one long chain. The database's index keeps this
// hash as it is; the check over a whole database hashes every byte of the key instead.
inline uint32_t HashKey(const char* key) {
  size_t n = strlen(key);
  if (n >= 8) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(key) + n - 8;
    uint32_t w = DecodeFixed32(b);
    return w + (w >> 5) + (w >> 10) + (w >> 20);
  }
  uint32_t h = 0;
  for (size_t i = 0; i < n; ++i)
    h = h * 38 + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(key[i])));
  return h;
}

template <typename V>
class HashTableIteratorClass;

template <typename V>
class HashTableClass {
 public:
  HashTableClass() = default;
  HashTableClass(const HashTableClass&) = delete;
  HashTableClass& operator=(const HashTableClass&) = delete;
  ~HashTableClass() {
    delete[] heads;
    delete[] entries;
  }

  // Adds an entry at the head of its chain (an existing entry with the same key stays). False,
  // with the table's contents unchanged, when memory runs out.
  bool Insert(const char* key, V value) {
    if (free_head == -1 && !Grow()) return false;
    int32_t i = free_head;
    if (!entries[i].key.TryAssign(key)) return false;
    free_head = entries[i].next;
    uint32_t b = HashKey(key) & (bucket_count - 1);
    entries[i].value = value;
    entries[i].next = heads[b];
    heads[b] = i;
    return true;
  }

  // The value of the first entry in the key's chain with exactly this key, or null. Valid until
  // the next Insert.
  V* Find(const char* key) {
    if (!heads) return nullptr;
    for (int32_t i = heads[HashKey(key) & (bucket_count - 1)]; i != -1; i = entries[i].next) {
      if (entries[i].key == key) return &entries[i].value;
    }
    return nullptr;
  }

  // Unlinks the first entry with this key onto the free list (last in, first out).
  void Remove(const char* key) {
    Unlink(key, [](const V&) { return true; });
  }

  // Unlinks the first entry with this key and this value; other entries with the key keep
  // their order. False when there is no such entry.
  bool RemoveValue(const char* key, const V& value) {
    return Unlink(key, [&value](const V& v) { return v == value; });
  }

  void RemoveAll() {
    for (uint32_t b = 0; b < bucket_count; ++b) {
      if (heads[b] == -1) continue;
      int32_t last = heads[b];
      while (entries[last].next != -1) last = entries[last].next;
      entries[last].next = free_head;
      free_head = heads[b];
      heads[b] = -1;
    }
  }

  uint32_t BucketCount() const { return bucket_count; }

 private:
  friend class HashTableIteratorClass<V>;

  struct Entry {
    int32_t next = -1;
    NarrowStringClass key;
    V value{};
  };

  template <typename Match>
  bool Unlink(const char* key, Match match) {
    if (!heads) return false;
    int32_t* link = &heads[HashKey(key) & (bucket_count - 1)];
    while (*link != -1) {
      int32_t i = *link;
      if (entries[i].key == key && match(entries[i].value)) {
        *link = entries[i].next;
        entries[i].next = free_head;
        free_head = i;
        return true;
      }
      link = &entries[i].next;
    }
    return false;
  }

  // Doubles the table, rehashing every entry in bucket then chain order onto the front of its
  // new chain. False, with the table unchanged, when memory runs out.
  bool Grow() {
    uint32_t m = bucket_count * 2 < 4 ? 4 : bucket_count * 2;
    int32_t* new_heads = new (std::nothrow) int32_t[m];
    if (!new_heads) return false;
    Entry* new_entries = new (std::nothrow) Entry[m];
    if (!new_entries) {
      delete[] new_heads;
      return false;
    }
    for (uint32_t b = 0; b < m; ++b) new_heads[b] = -1;
    int32_t u = 0;
    for (uint32_t b = 0; b < bucket_count; ++b) {
      for (int32_t i = heads[b]; i != -1; i = entries[i].next) {
        uint32_t c = HashKey(entries[i].key) & (m - 1);
        new_entries[u].key = std::move(entries[i].key);
        new_entries[u].value = entries[i].value;
        new_entries[u].next = new_heads[c];
        new_heads[c] = u;
        ++u;
      }
    }
    delete[] heads;
    delete[] entries;
    for (uint32_t i = u; i < m; ++i) new_entries[i].next = i + 1 < m ? static_cast<int32_t>(i + 1) : -1;
    free_head = u < static_cast<int32_t>(m) ? u : -1;
    heads = new_heads;
    entries = new_entries;
    bucket_count = m;
    return true;
  }

  int32_t* heads = nullptr;
  Entry* entries = nullptr;
  int32_t free_head = -1;
  uint32_t bucket_count = 0;
};

template <typename V>
class HashTableIteratorClass {
 public:
  explicit HashTableIteratorClass(HashTableClass<V>& table) : table(&table) {}

  void First() {
    index = -1;
    bucket = 0;
    Scan();
  }
  bool IsDone() const { return index == -1; }
  void Next() {
    index = table->entries[index].next;
    if (index == -1) {
      ++bucket;
      Scan();
    }
  }
  V& Value() { return table->entries[index].value; }
  const char* Key() const { return table->entries[index].key; }

 private:
  void Scan() {
    while (static_cast<uint32_t>(bucket) < table->bucket_count) {
      index = table->heads[bucket];
      if (index != -1) return;
      ++bucket;
    }
  }

  int32_t bucket = 0;
  int32_t index = -1;
  HashTableClass<V>* table;
};
