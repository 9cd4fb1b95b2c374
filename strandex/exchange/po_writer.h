// Writing a PO file (format in po.h) into a ByteBuilder. Used by ExportPo, which passes it straight
// to the file; tests and the fuzzer call it directly.
#pragma once

#include "strandex/exchange/file_bytes.h"
#include "strandex/exchange/po.h"

// Appends the PO file of the current database to out (whose ErrorCode() tells whether memory ran
// out).
void WritePo(ByteBuilder& out, const PoExportOptions& options);
