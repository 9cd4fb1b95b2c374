// Fuzz target: the PO reader and import over arbitrary bytes (properties in translation_fuzz.h).
//
// The seed corpus is what `tdbtool export-po` writes for this database (made with
// `tdbtool import-table` from the same strings): de.po (--language 1), fr.po (--language 2)
// and strings.pot.
#include "fuzz/translation_fuzz.h"
#include "tdb/exchange/po_import.h"
#include "tdb/exchange/po_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const FuzzTranslationFormat kPo = {"fuzz.po", WritePo, ApplyPo};
  return FuzzTranslationImport(kPo, data, size, size > 0 && data[0] % 2 ? 2 : 1);
}
