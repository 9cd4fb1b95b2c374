// Fuzz target: the XML reader and the XLIFF import over arbitrary bytes, applied to the small
// database of exchange_seed.h. A refused file must leave the database as it was and give a
// "fuzz.xlf:LINE: reason" error; an accepted one, applied a second time, must change nothing more;
// and what the database then holds must export to a file that applies without a change or a skip.
//
// The seed corpus is what `tdbtool export-xliff` writes for this database (--language 1 and 2),
// a po2xliff conversion and an lconvert one of its PO export, and a file with a DOCTYPE.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz/exchange_seed.h"
#include "strandex/exchange/xliff.h"

namespace {

struct Exported {
  ByteBuilder bytes;
  const char* Data() { return reinterpret_cast<const char*>(bytes.Data()); }
  size_t Size() { return static_cast<size_t>(bytes.Size()); }
  bool operator==(Exported& other) { return Size() == other.Size() && memcmp(Data(), other.Data(), Size()) == 0; }
};

void Export(int language, Exported& out) {
  PoExportOptions options;
  options.Language = language;
  WriteXliff(out.bytes, options);
  if (out.bytes.ErrorCode()) __builtin_trap();
}

bool Apply(const char* bytes, size_t size, int language, PoImportReport* report) {
  PoImportOptions options;
  options.Language = language;
  options.Fuzzy = language == 2;
  DynamicArrayClass<NarrowStringClass> warnings;
  NarrowStringClass error;
  bool ok = ApplyXliff(bytes, size, "fuzz.xlf", options, report, &warnings, &error);
  if (!ok && strncmp(error.Chars(), "fuzz.xlf:", 9) != 0) __builtin_trap();
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  FillExchangeSeed();
  int language = size > 0 && data[size - 1] % 2 ? 2 : 1;
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
