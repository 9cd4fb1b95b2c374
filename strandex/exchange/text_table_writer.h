// Writing a text table (format in text_table.h) into bytes in memory. Used by ExportTextTable;
// tests and the fuzzer call it directly.
#pragma once

#include "strandex/exchange/file_bytes.h"

// Appends the table of the current database to out (whose Failed() tells whether memory ran out).
void WriteTextTable(ByteBuilder& out);
