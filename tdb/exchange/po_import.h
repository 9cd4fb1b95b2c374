// Applying the entries of a PO file to one language of the database (format and rules in
// po.h). Used by ImportPo; tests and the fuzzer apply bytes in memory with ApplyPo.
#pragma once

#include <cstddef>

#include "tdb/exchange/po.h"

// Reads size bytes held in memory as a PO file named name and applies it as ImportPo does.
bool ApplyPo(const char* bytes, size_t size, const char* name, const PoImportOptions& options,
             PoImportReport* report, DynamicArrayClass<NarrowStringClass>* warnings,
             NarrowStringClass* error);
