// Writing a text table (format in text_table.h) into a ByteBuilder. Used by ExportTextTable, which
// passes it straight to the file; tests and the fuzzer call it directly.
#pragma once

#include "tdb/exchange/file_bytes.h"

// Appends the table of the current database to out (whose ErrorCode() tells whether it could not
// all be stored).
void WriteTextTable(ByteBuilder& out);
