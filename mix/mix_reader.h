// MixReaderClass: reads the tables of a mix archive (mix_format.h) and its members. Load checks
// the whole structure before anything is used, so any bytes at all are safe to hand it.
#pragma once

#include <functional>

#include "common/array.h"
#include "common/file_class.h"
#include "common/string_class.h"
#include "mix/mix_format.h"

class MixReaderClass {
 public:
  // Reads the header and both tables from file (open for reading), which must stay open while
  // members are read. False, with ErrorMessage, when they do not form a mix archive; the reader
  // then holds no members.
  bool Load(FileClass* file);

  int Count() const { return entries.Count(); }
  // Member i in index order.
  const MixIndexEntry& Entry(int i) const { return entries[i]; }
  int32_t IndexOffset() const { return index_offset; }
  int32_t NameOffset() const { return name_offset; }

  // The index of the member named name, or -1. Letter case is ignored, as the CRC ignores it,
  // unless two members differ only in case: then the exact name wins.
  int Find(const char* name) const;
  // Hands member i's bytes to sink in order, a block at a time, and stops early when sink returns
  // false. False, with ErrorMessage (the system's reason, or that the archive ends inside the
  // member), when the bytes could not be read; not when sink stopped it.
  bool ReadMember(int i, const std::function<bool(const void* bytes, int size)>& sink);

  const NarrowStringClass& ErrorMessage() const { return error; }

 private:
  bool Fail(const char* reason);
  bool ParseTables(const unsigned char* tables, int64_t length);

  FileClass* file = nullptr;
  DynamicArrayClass<MixIndexEntry> entries;
  int32_t index_offset = 0;
  int32_t name_offset = 0;
  NarrowStringClass error;
};
