// StringCategoryClass: a named group of string objects; the editor shows one tab per category.
// String objects refer to a category by its ID, which is independent of its place in the list.
#pragma once

#include <cstdint>

#include "common/string_class.h"
#include "tdb/storable.h"

class StringCategoryClass : public StorableClass {
 public:
  StringCategoryClass() = default;
  StringCategoryClass(const StringCategoryClass& other) = default;
  StringCategoryClass& operator=(const StringCategoryClass&) = delete;
  ~StringCategoryClass() override = default;

  void OnAfterLoad() override {}
  ObjectFactoryClass* GetFactory() override;
  // False when the name cannot be written (over 254 bytes).
  bool Save(ChunkWriterClass& writer) override;
  // False only when memory runs out.
  bool Load(ChunkReaderClass& reader) override;

  NarrowStringClass Name;
  int32_t ID = 0;
};
