// Writing a PO file (format in po.h) into a ByteBuilder. Used by ExportPo, which passes it straight
// to the file; tests and the fuzzer call it directly.
#pragma once

#include "tdb/exchange/file_bytes.h"
#include "tdb/exchange/po.h"

// Appends the PO file of the current database to out (whose ErrorCode() tells whether memory ran
// out).
void WritePo(ByteBuilder& out, const PoExportOptions& options);

class TDBStringClass;
// Appends the comment that names string s in its entry, without "#. " and the line end:
// "ID 1000, symbolic ID IDS_OK" or "ID 1002, no symbolic ID". False when memory runs out.
bool AppendPoIdComment(ByteBuilder& out, TDBStringClass* s);
// Appends the comment that names the category of s, without "#. " and the line end:
// "Category: Default", or "Category: none (ID 9)" when category is null (no category has the ID).
bool AppendPoCategoryComment(ByteBuilder& out, TDBStringClass* s, const char* category);
