// Fuzz target: the text table reader over arbitrary bytes. Reading the bytes whole and in three
// pieces must give the same database; what was read must export, and the export must read back
// to a database that exports the same bytes again (after one round, which drops languages
// beyond the seven the table carries).
//
// Numbers of any size go through. A large numeric ID gives the database a table of that many
// slots, which it keeps when cleared; the table is freed after every input so that only that
// input pays for it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "tdb/translate_db.h"
#include "tdb/exchange/text_table_reader.h"
#include "tdb/exchange/text_table_writer.h"

namespace {

// Reads pieces of bytes into an empty database and writes it out again into out.
void Cycle(const char* bytes, size_t size, size_t cut1, size_t cut2, ByteBuilder& out) {
  TranslateDBClass::ClearDatabase();
  DynamicArrayClass<NarrowStringClass> warnings;
  TextTableReaderClass reader("fuzz", &warnings);
  if (!reader.Feed(bytes, cut1) || !reader.Feed(bytes + cut1, cut2 - cut1) ||
      !reader.Feed(bytes + cut2, size - cut2) || !reader.Finish())
    __builtin_trap();
  WriteTextTable(out);
  if (out.ErrorCode()) __builtin_trap();
}

void Cycle(const char* bytes, size_t size, ByteBuilder& out) { Cycle(bytes, size, size, size, out); }

const char* Bytes(ByteBuilder& b) { return reinterpret_cast<const char*>(b.Data()); }

bool Same(ByteBuilder& a, ByteBuilder& b) {
  return a.Size() == b.Size() && memcmp(a.Data(), b.Data(), static_cast<size_t>(a.Size())) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  ByteBuilder whole, split, second, third;
  Cycle(bytes, size, whole);
  size_t cut1 = size ? data[0] % (size + 1) : 0;
  size_t cut2 = size ? cut1 + data[size - 1] % (size - cut1 + 1) : 0;
  Cycle(bytes, size, cut1, cut2, split);
  if (!Same(whole, split)) __builtin_trap();
  Cycle(Bytes(whole), static_cast<size_t>(whole.Size()), second);
  Cycle(Bytes(second), static_cast<size_t>(second.Size()), third);
  if (!Same(second, third)) __builtin_trap();
  TranslateDBClass::ReleaseObjectTable();
  TranslateDBClass::ClearDatabase();
  return 0;
}
