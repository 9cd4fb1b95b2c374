// Reading a text table (format in text_table.h) into the database, which the caller has
// emptied. The reader takes the file's bytes in pieces of any size (lines may be split anywhere
// between pieces), so a file is read through one small buffer. Used by ImportTextTable; tests
// and the fuzzer read bytes in memory with ReadTextTable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>

#include "common/array.h"
#include "common/string_class.h"
#include "tdb/exchange/warning_list.h"

class TDBStringClass;

class TextTableReaderClass {
 public:
  // name starts every warning ("name:line: text"); warnings may be null.
  TextTableReaderClass(const char* name, DynamicArrayClass<NarrowStringClass>* warnings);
  ~TextTableReaderClass();
  TextTableReaderClass(const TextTableReaderClass&) = delete;
  TextTableReaderClass& operator=(const TextTableReaderClass&) = delete;

  // The next count bytes of the file. False when memory runs out; the database then holds what
  // was read before.
  bool Feed(const char* bytes, size_t count);
  // The end of the file: a last line without a line end is read now. False when memory runs out.
  bool Finish();

 private:
  bool ReadLine(const char* bytes, size_t count);
  bool GrowLine(size_t units);
  bool KeepPending(const char* bytes, size_t count);
  int NarrowField(const char16_t* p, int count, char* out, const char* what);
  bool CategoryLine(int length, int comma);
  bool StringLine(int length, int comma);
  bool TextLine(int length, int text_end, int equals);

  WarningListClass warnings;
  // The UTF-16 line buffer: 1024 units at first, grown in steps of 1024 and kept.
  char16_t* line = nullptr;
  size_t line_capacity = 0;
  // Bytes of a line that started in an earlier piece.
  char* pending = nullptr;
  size_t pending_count = 0;
  size_t pending_capacity = 0;
  int line_number = 0;
  bool has_category = false;
  int category_id = 0;
  // IDs of the categories in the database, for the warning on an ID that occurs twice; filled
  // at the first category line.
  std::unordered_set<int32_t> category_ids;
  bool category_ids_filled = false;
  TDBStringClass* current = nullptr;
  // The string line above was ignored: its text lines are skipped without further warnings.
  bool skipping = false;
};

// Reads size bytes held in memory as a whole table. False only when memory runs out.
bool ReadTextTable(const char* bytes, size_t size, const char* name,
                   DynamicArrayClass<NarrowStringClass>* warnings);
