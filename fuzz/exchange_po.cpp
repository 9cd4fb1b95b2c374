// Fuzz target: the PO reader and import over arbitrary bytes, applied to a small database. A
// refused file must leave the database as it was; an accepted one, applied a second time, must
// change nothing more; and what the database then holds must export to a file that applies
// without a change or a skip.
//
// The seed corpus is what `tdbtool export-po` writes for this database (made with
// `tdbtool import-table` from the same strings): de.po (--language 1), fr.po (--language 2)
// and strings.pot.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/exchange_seed.h"
#include "strandex/db/translate_db.h"
#include "strandex/exchange/po_import.h"
#include "strandex/exchange/po_writer.h"

namespace {

struct Exported {
  ByteBuilder bytes;
  const char* Data() { return reinterpret_cast<const char*>(bytes.Data()); }
  size_t Size() { return static_cast<size_t>(bytes.Size()); }
  bool operator==(Exported& other) {
    return Size() == other.Size() && memcmp(Data(), other.Data(), Size()) == 0;
  }
};

void Export(int language, Exported& out) {
  PoExportOptions options;
  options.Language = language;
  WritePo(out.bytes, options);
  if (out.bytes.ErrorCode()) __builtin_trap();
}

bool Apply(const char* bytes, size_t size, int language, PoImportReport* report) {
  PoImportOptions options;
  options.Language = language;
  options.Fuzzy = language == 2;
  DynamicArrayClass<NarrowStringClass> warnings;
  NarrowStringClass error;
  bool ok = ApplyPo(bytes, size, "fuzz.po", options, report, &warnings, &error);
  if (!ok && strncmp(error.Chars(), "fuzz.po:", 8) != 0) __builtin_trap();
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  FillExchangeSeed();
  // Language 1 without --fuzzy, language 2 with it.
  int language = size > 0 && data[0] % 2 ? 2 : 1;
  Exported before;
  Export(language, before);
  PoImportReport report;
  if (!Apply(bytes, size, language, &report)) {
    Exported after;
    Export(language, after);
    if (!(before == after)) __builtin_trap();
  } else {
    PoImportReport again;
    if (!Apply(bytes, size, language, &again) || again.Applied != 0) __builtin_trap();
    Exported now;
    Export(language, now);
    PoImportReport round;
    if (!Apply(now.Data(), now.Size(), language, &round) || round.Applied != 0 || round.Skipped != 0)
      __builtin_trap();
  }
  TranslateDBClass::ClearDatabase();
  return 0;
}
