// Fuzz target: the XML reader and the XLIFF import over arbitrary bytes (properties in
// translation_fuzz.h).
//
// The seed corpus is what `tdbtool export-xliff` writes for this database (--language 1 and 2),
// a po2xliff conversion and an lconvert one of its PO export, and a file with a DOCTYPE.
#include "fuzz/translation_fuzz.h"
#include "tdb/exchange/xliff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const FuzzTranslationFormat kXliff = {"fuzz.xlf", WriteXliff, ApplyXliff};
  return FuzzTranslationImport(kXliff, data, size, size > 0 && data[size - 1] % 2 ? 2 : 1);
}
